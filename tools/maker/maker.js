'use strict';
// The quiz maker page: the teacher's questions and files in, the built quiz
// out (maps, proof sheet, Play, the site and the package as zips). The work
// is done by worker.js; this page keeps the teacher's work in the browser's
// storage (the text in localStorage, the files in IndexedDB) until "New quiz".
(function () {
  const $ = (id) => document.getElementById(id);
  const questions = $('questions');
  const status = $('status');
  const kQuizName = 'quiz.txt';  // the name the builder's messages give the list
  const kLineHeight = 20;
  const kTextKey = 'keravon-maker-questions';
  const kPictureExtension = /\.(png|jpe?g|bmp|gif|webp)$/i;

  // ---- The worker: one question at a time, answered by id.
  const worker = new Worker('worker.js');
  const waiting = new Map();
  let nextId = 1;
  worker.onmessage = (event) => {
    const message = event.data;
    if (message.type === 'progress') return say(message.text);
    const pending = waiting.get(message.id);
    waiting.delete(message.id);
    if (message.type === 'done') pending.resolve(message);
    else pending.reject(new Error(message.message));
  };
  // A worker that fails takes every question asked of it with it: each is
  // answered with the failure, so no button waits for ever.
  worker.onerror = (event) => {
    say('The quiz maker could not start: ' + event.message, true);
    for (const pending of waiting.values()) pending.reject(new Error(event.message));
    waiting.clear();
  };
  function ask(type, extra) {
    const id = nextId++;
    return new Promise((resolve, reject) => {
      waiting.set(id, { resolve, reject });
      worker.postMessage(Object.assign({ id, type }, extra || {}));
    });
  }

  // The browser may refuse its storage (private windows, a full disk, a
  // school's settings): the work then lives only as long as the tab.
  function keepText() {
    try {
      localStorage.setItem(kTextKey, questions.value);
    } catch (e) {
      console.warn('the questions cannot be kept in this browser: ' + e);
    }
  }
  function keptText() {
    try {
      return localStorage.getItem(kTextKey) || '';
    } catch (e) {
      return '';
    }
  }

  function say(text, bad) {
    status.textContent = text;
    status.classList.toggle('bad', !!bad);
  }

  // ---- The editor: line numbers and problems beside their lines.
  let problems = [];
  function drawRows() {
    const lines = questions.value.split('\n').length;
    const numbers = $('number-rows');
    if (numbers.childElementCount !== lines) {
      numbers.textContent = '';
      for (let i = 1; i <= lines; ++i) {
        const row = document.createElement('div');
        row.className = 'number';
        row.textContent = i;
        numbers.appendChild(row);
      }
    }
    const rows = $('problem-rows');
    rows.textContent = '';
    for (const problem of problems.filter((p) => p.line)) {
      const row = document.createElement('div');
      row.className = 'problem';
      row.style.top = ((problem.line - 1) * kLineHeight) + 'px';
      row.textContent = problem.line + ': ' + problem.reason;
      row.title = row.textContent;
      row.addEventListener('click', () => selectLine(problem.line));
      rows.appendChild(row);
    }
    scrollRows();
  }
  function scrollRows() {
    const shift = 'translateY(' + (-questions.scrollTop) + 'px)';
    $('number-rows').style.transform = shift;
    $('problem-rows').style.transform = shift;
  }
  function selectLine(line) {
    const lines = questions.value.split('\n');
    const start = lines.slice(0, line - 1).reduce((sum, text) => sum + text.length + 1, 0);
    questions.focus();
    questions.setSelectionRange(start, start + (lines[line - 1] || '').length);
    questions.scrollTop = Math.max(0, (line - 3) * kLineHeight);
  }
  // "quiz.txt:12: reason" names a line of the list; anything else is for
  // the quiz as a whole.
  function showProblems(list) {
    problems = list.map((text) => {
      const at = text.match(/^quiz\.txt:(\d+): (.*)$/s);
      return at ? { line: Number(at[1]), reason: at[2] } : { line: 0, reason: text };
    });
    const others = $('other-problems');
    others.textContent = '';
    for (const problem of problems) {
      const item = document.createElement('li');
      item.textContent = problem.line ? problem.line + ': ' + problem.reason : problem.reason;
      others.appendChild(item);
    }
    drawRows();
  }
  questions.addEventListener('scroll', scrollRows);
  questions.addEventListener('input', () => {
    drawRows();
    changed();
    keepText();
  });

  // ---- The teacher's files, kept in IndexedDB by name.
  const files = new Map();
  const database = new Promise((resolve, reject) => {
    if (!window.indexedDB) return reject(new Error('no IndexedDB'));
    const request = indexedDB.open('keravon-maker', 1);
    request.onupgradeneeded = () => request.result.createObjectStore('files');
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => reject(request.error);
  });
  async function store(action) {
    const db = await database;
    return new Promise((resolve, reject) => {
      const transaction = db.transaction('files', 'readwrite');
      const request = action(transaction.objectStore('files'));
      transaction.oncomplete = () => resolve(request.result);
      transaction.onerror = () => reject(transaction.error);
      transaction.onabort = () => reject(transaction.error);
    });
  }
  function listFiles() {
    const list = $('files');
    list.textContent = '';
    for (const name of [...files.keys()].sort()) {
      const item = document.createElement('li');
      const remove = document.createElement('button');
      remove.textContent = 'Remove';
      remove.setAttribute('aria-label', 'Remove ' + name);
      remove.addEventListener('click', () => {
        files.delete(name);
        store((s) => s.delete(name)).catch(() => {});
        listFiles();
        changed();
      });
      item.append(name + ' (' + Math.ceil(files.get(name).length / 1024) + ' KB) ', remove);
      list.appendChild(item);
    }
  }
  async function addFiles(list) {
    for (const file of list) {
      const bytes = new Uint8Array(await file.arrayBuffer());
      files.set(file.name, bytes);
      await store((s) => s.put(bytes, file.name)).catch(() => {});
    }
    listFiles();
    changed();
  }
  $('add').addEventListener('change', (e) => addFiles(e.target.files));
  const drop = $('drop');
  drop.addEventListener('dragover', (e) => { e.preventDefault(); drop.classList.add('over'); });
  drop.addEventListener('dragleave', () => drop.classList.remove('over'));
  drop.addEventListener('drop', (e) => {
    e.preventDefault();
    drop.classList.remove('over');
    addFiles(e.dataTransfer.files);
  });
  $('open').addEventListener('change', async (e) => {
    const file = e.target.files[0];
    if (!file) return;
    questions.value = await file.text();
    keepText();
    drawRows();
    changed();
  });

  // The browser decodes pictures; the game's own converter puts them into
  // the palette in the worker. One it cannot decode goes as it is, and the
  // builder names it beside the line that wants it.
  async function decode(bytes) {
    try {
      // The file's own colours, unconverted, as krvtool reads them.
      const bitmap = await createImageBitmap(new Blob([bytes]),
                                             { colorSpaceConversion: 'none', premultiplyAlpha: 'none' });
      const canvas = document.createElement('canvas');
      canvas.width = bitmap.width;
      canvas.height = bitmap.height;
      const context = canvas.getContext('2d');
      context.drawImage(bitmap, 0, 0);
      const data = context.getImageData(0, 0, bitmap.width, bitmap.height).data;
      return { width: bitmap.width, height: bitmap.height, pixels: new Uint8Array(data.buffer) };
    } catch (e) {
      return null;
    }
  }
  // Each file under its own name, and under every path the list gives it
  // ("Picture: pics/apple.png" finds apple.png).
  async function filesForBuild() {
    const named = new Map();
    for (const match of questions.value.matchAll(/^\s*[A-Za-z ]+:\s*(\S.*?)\s*$/gm)) {
      const path = match[1];
      const base = path.split(/[\\/]/).pop();
      if (files.has(base) && path !== base && !path.includes('..')) named.set(path.replace(/\\/g, '/'), base);
    }
    const out = [];
    const decoded = new Map();
    for (const [name, bytes] of files) {
      if (kPictureExtension.test(name)) decoded.set(name, await decode(bytes));
    }
    const one = (path, name) => {
      const picture = decoded.get(name);
      return picture ? { name: path, picture } : { name: path, bytes: files.get(name) };
    };
    for (const name of files.keys()) out.push(one(name, name));
    for (const [path, name] of named) out.push(one(path, name));
    return out;
  }

  // ---- Build: problems, or the maps, the proof sheet and the buttons.
  let built = null;
  function changed() {
    if (!built) return;
    built = null;
    enableResults(false);
    say('Changed since the last build: press Build again to play or download it.');
  }
  function enableResults(on) {
    for (const id of ['play', 'download-site', 'download-package']) $(id).disabled = !on;
  }
  function drawPpm(id, picture) {
    const canvas = $(id);
    $(id + '-none').classList.toggle('hidden', !!picture);
    canvas.classList.toggle('hidden', !picture);
    if (!picture) return;
    canvas.width = picture.width;
    canvas.height = picture.height;
    const rgba = new Uint8ClampedArray(picture.width * picture.height * 4);
    for (let i = 0, j = 0; i < rgba.length; i += 4, j += 3) {
      rgba[i] = picture.rgb[j];
      rgba[i + 1] = picture.rgb[j + 1];
      rgba[i + 2] = picture.rgb[j + 2];
      rgba[i + 3] = 255;
    }
    canvas.getContext('2d').putImageData(new ImageData(rgba, picture.width, picture.height), 0, 0);
  }
  function listNotes(notes) {
    const list = $('notes');
    list.textContent = '';
    for (const note of notes) {
      const item = document.createElement('li');
      item.textContent = note.replace(/^\/work\/game: /, '');  // the worker's folder means nothing here
      list.appendChild(item);
    }
  }
  $('build').addEventListener('click', async () => {
    $('build').disabled = true;
    built = null;
    enableResults(false);
    showProblems([]);
    listNotes([]);
    const started = performance.now();
    try {
      say('Reading the pictures…');
      const result = await ask('build', { quiz: questions.value, files: await filesForBuild() });
      const took = ((performance.now() - started) / 1000).toFixed(1);
      listNotes(result.notes);
      if (result.problems.length) {
        showProblems(result.problems);
        say(result.problems.length + (result.problems.length === 1 ? ' problem' : ' problems') +
            ': see beside the lines (nothing was built).', true);
        return;
      }
      drawPpm('map', result.map);
      drawPpm('proof', result.proof);
      if (!result.won) {
        showProblems([result.failure]);
        say('Built, but the quiz cannot be won: ' + result.failure, true);
        return;
      }
      built = result;
      window.keravonMakerBuilt = { buildSeconds: result.buildMs / 1000, totalSeconds: Number(took),
                                   keys: result.keys };
      enableResults(true);
      say('Built in ' + took + ' s: the quiz is won in about ' + result.seconds +
          ' s of play. Play it, or download it.');
    } catch (error) {
      say('The build failed: ' + error.message, true);
    } finally {
      $('build').disabled = false;
    }
  });

  // ---- Play: the site's own page in a frame, its quiz files handed over
  // instead of fetched (a script given to this page as window.keravonScript
  // is passed on, for script mode).
  $('play').addEventListener('click', async () => {
    if (!built) return;
    say('Starting the game…');
    const quiz = await ask('files');
    window.keravonMakerPlay = { files: quiz.files, fileList: quiz.fileList,
                                script: typeof window.keravonScript === 'string' ? window.keravonScript : null };
    const base = new URL('site/', location.href).href;
    const page = await (await fetch('site/index.html')).text();
    const shim = '<base href="' + base + '"><script>(' + servedFromMaker.toString() + ')();<\/script>';
    const frame = document.createElement('iframe');
    frame.title = 'Play';
    frame.setAttribute('allow', 'fullscreen; autoplay');
    frame.srcdoc = page.replace(/<head>/i, '<head>' + shim);
    $('play-frame').replaceChildren(frame);
    $('play-area').classList.remove('hidden');
    say('Playing: click the game, then Return starts it.');
  });
  // Runs inside the frame, before the site's page: its fetches of files.json
  // and the quiz's files are answered from the built quiz.
  function servedFromMaker() {
    const maker = parent.keravonMakerPlay;
    const base = document.baseURI;
    const realFetch = window.fetch.bind(window);
    window.fetch = function (input, init) {
      const url = new URL(typeof input === 'string' ? input : input.url, base).href;
      if (url.startsWith(base)) {
        const path = decodeURIComponent(url.slice(base.length));
        if (path === 'files.json') return Promise.resolve(new Response(maker.fileList));
        if (Object.prototype.hasOwnProperty.call(maker.files, path)) {
          return Promise.resolve(new Response(maker.files[path]));
        }
      }
      return realFetch(input, init);
    };
    if (typeof maker.script === 'string') window.keravonScript = maker.script;
  }

  // ---- Downloads: the zips are made in the worker.
  function save(bytes, name) {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/zip' }));
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  }
  function fileName(title, ending) {
    const plain = title.normalize('NFKD').replace(/[^\w-]+/g, '-').replace(/^-+|-+$/g, '').toLowerCase();
    return (plain || 'quiz') + ending;
  }
  async function download(type, ending) {
    if (!built) return;
    say('Packing…');
    try {
      const result = await ask(type);
      save(result.zip, fileName(result.title, ending));
      say('Downloaded ' + fileName(result.title, ending) + '.');
    } catch (error) {
      say('The download failed: ' + error.message, true);
    }
  }
  $('download-site').addEventListener('click', () => download('site', '-site.zip'));
  $('download-package').addEventListener('click', () => download('package', '-scorm.zip'));

  // ---- New quiz: the stored work goes.
  $('new').addEventListener('click', async () => {
    if ((questions.value.trim() || files.size) &&
        !confirm('Start a new quiz? The questions and files here are removed from this browser.')) return;
    questions.value = '';
    keepText();
    files.clear();
    await store((s) => s.clear()).catch(() => {});
    listFiles();
    showProblems([]);
    listNotes([]);
    built = null;
    enableResults(false);
    drawPpm('map', null);
    drawPpm('proof', null);
    $('play-area').classList.add('hidden');
    $('play-frame').replaceChildren();
    say('');
  });

  // ---- The work as it was left.
  questions.value = keptText();
  drawRows();
  store((s) => s.getAllKeys()).then(async (names) => {
    for (const name of names) files.set(name, await store((s) => s.get(name)));
    listFiles();
  }).catch(() => {});
})();
