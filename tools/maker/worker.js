'use strict';
// The quiz maker's worker: runs the quiz builder, the map, the playtest and
// the site plan (krvmaker.js, the same C++ as krvtool) away from the page, so
// the page never freezes, and packs the zips (fflate). The game the quizzes
// are made from is the default quiz's site beside the page (site/), fetched
// into the in-memory file system under /game once.
//
// Messages in:  {id, type: 'build' | 'files' | 'site' | 'package', ...}
// Messages out: {type: 'progress', text}, {id, type: 'done', ...} or
//               {id, type: 'failed', message}.

const kSite = 'site/';
const kQuizFolder = '/work/quiz';
const kQuizFile = kQuizFolder + '/quiz.txt';
const kBuilt = '/work/game';
const kEngine = '/engine';

// The game's sounds in the mix format (16-bit stereo at 44100 Hz) the site's
// page gets from the browser's decoder, which a worker lacks: the builder
// times the title screen by the intro music's length, as krvtool does. The
// quiz file names no sound, so only the game's own WAVs come here, and they
// are plain PCM; anything else stays silent.
let lastSound = { path: '', frames: undefined };
function soundFrames(path) {
  if (lastSound.path !== path) lastSound = { path, frames: readPcmWav(Module.FS.readFile(path)) };
  return lastSound.frames;
}
function readPcmWav(bytes) {
  const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  const tag = (at) => String.fromCharCode(...bytes.subarray(at, at + 4));
  if (bytes.length < 12 || tag(0) !== 'RIFF' || tag(8) !== 'WAVE') return undefined;
  let format = null;
  for (let at = 12; at + 8 <= bytes.length;) {
    const size = view.getUint32(at + 4, true);
    const body = at + 8;
    if (tag(at) === 'fmt ' && size >= 16) {
      format = { code: view.getUint16(body, true), channels: view.getUint16(body + 2, true),
                 rate: view.getUint32(body + 4, true), bits: view.getUint16(body + 14, true) };
    } else if (tag(at) === 'data' && format && format.code === 1 && format.channels > 0 &&
               (format.bits === 8 || format.bits === 16) && format.rate > 0) {
      const step = format.channels * format.bits / 8;
      const count = Math.floor(Math.min(size, bytes.length - body) / step);
      const sample = (frame, channel) => {
        const at = body + frame * step + Math.min(channel, format.channels - 1) * format.bits / 8;
        return format.bits === 16 ? view.getInt16(at, true) : (bytes[at] - 128) << 8;
      };
      const out = new Int16Array(Math.round(count * 44100 / format.rate) * 2);
      for (let i = 0; i < out.length / 2; ++i) {
        const source = Math.min(count - 1, Math.floor(i * format.rate / 44100));
        out[2 * i] = sample(source, 0);
        out[2 * i + 1] = sample(source, 1);
      }
      return count ? out : undefined;
    }
    at = body + size + (size & 1);
  }
  return undefined;
}

var Module = {
  print: (text) => console.log(text),
  printErr: (text) => console.warn(text),
  keravon: { sound: soundFrames },
};
const runtimeReady = new Promise((resolve) => { Module.onRuntimeInitialized = resolve; });
importScripts('krvmaker.js', 'fflate.js');

function progress(text) {
  postMessage({ type: 'progress', text });
}

function call(name, ...args) {
  const text = Module.ccall(name, 'string', args.map(() => 'string'), args);
  return JSON.parse(text);
}

async function fetchBytes(url) {
  const response = await fetch(url);
  if (!response.ok) throw new Error(url + ': ' + response.status);
  return new Uint8Array(await response.arrayBuffer());
}

function writeFile(path, bytes) {
  Module.FS.mkdirTree(path.replace(/\/[^/]*$/, ''));
  Module.FS.writeFile(path, bytes);
}

function removeTree(path) {
  const FS = Module.FS;
  if (!FS.analyzePath(path).exists) return;
  for (const name of FS.readdir(path)) {
    if (name === '.' || name === '..') continue;
    const inner = path + '/' + name;
    if (FS.isDir(FS.stat(inner).mode)) removeTree(inner);
    else FS.unlink(inner);
  }
  FS.rmdir(path);
}

// The built game and the site's engine, as `krvtool web` put them beside the page.
const gameReady = (async () => {
  await runtimeReady;
  progress('Loading the game…');
  const list = await (await fetch(kSite + 'files.json')).json();
  const paths = list.files.map((file) => file.path);
  const queue = paths.slice();
  async function fetcher() {
    while (queue.length) {
      const path = queue.shift();
      writeFile('/game/' + path, await fetchBytes(kSite + path.split('/').map(encodeURIComponent).join('/')));
    }
  }
  await Promise.all([fetcher(), fetcher(), fetcher(), fetcher()]);
  for (const name of ['index.html', 'scorm.js', 'touch.js', 'keravon.js', 'keravon.wasm']) {
    writeFile(kEngine + '/' + name, await fetchBytes(kSite + name));
  }
})();

// A picture decoded by the page: "KRVRGBA1", width, height (32-bit little
// endian), then the pixels (tools/maker/picture_input.cpp reads it).
function decodedPicture(picture) {
  const out = new Uint8Array(16 + picture.pixels.length);
  out.set(new TextEncoder().encode('KRVRGBA1'));
  const view = new DataView(out.buffer);
  view.setUint32(8, picture.width, true);
  view.setUint32(12, picture.height, true);
  out.set(picture.pixels, 16);
  return out;
}

function readPpm(path) {
  const bytes = Module.FS.readFile(path);
  const header = new TextDecoder().decode(bytes.subarray(0, 32)).match(/^P6\s+(\d+)\s+(\d+)\s+255\s/);
  if (!header) return null;
  return { width: Number(header[1]), height: Number(header[2]), rgb: bytes.slice(header[0].length) };
}

// The teacher's question list and files: problems, or the built quiz with
// its map and its proof sheet.
async function build(message) {
  await gameReady;
  const started = performance.now();
  Module.FS.chdir('/');
  removeTree('/work');
  Module.FS.mkdirTree(kQuizFolder);
  Module.FS.writeFile(kQuizFile, message.quiz);
  for (const file of message.files) {
    writeFile(kQuizFolder + '/' + file.name, file.picture ? decodedPicture(file.picture) : file.bytes);
  }
  progress('Building the quiz…');
  // Named from its own folder, so the problems read "quiz.txt:LINE: reason".
  Module.FS.chdir(kQuizFolder);
  const built = call('maker_build', 'quiz.txt', kBuilt, '/game');
  const buildMs = performance.now() - started;
  if (built.problems.length) return { problems: built.problems, notes: built.notes, buildMs };
  progress('Drawing the maps…');
  const map = call('maker_map', kBuilt, '/work/map.ppm');
  progress('Playing the quiz through for the proof sheet…');
  const played = call('maker_playtest', kBuilt, '/work/proof');
  return {
    problems: [], notes: built.notes, buildMs, totalMs: performance.now() - started,
    map: map.error ? null : readPpm('/work/map.ppm'), mapError: map.error,
    proof: played.proof ? readPpm(played.proof) : null,
    won: played.won, failure: played.failure, seconds: played.seconds,
    keys: played.won ? new TextDecoder().decode(Module.FS.readFile('/work/proof/play.keys')) : '',
  };
}

function plan() {
  const site = call('maker_site', kBuilt, kEngine);
  if (site.error) throw new Error(site.error);
  return site;
}

// The built quiz's files as the site would serve them, for Play.
function quizFiles() {
  const site = plan();
  const files = {};
  for (const file of site.quiz) files[file.path] = Module.FS.readFile(file.source);
  return { files, fileList: site.fileList, title: site.title };
}

// The site `krvtool web` writes, as one zip; with `manifest` the package of
// `krvtool scorm` (the manifest first).
function siteZip(manifest) {
  const site = plan();
  const entries = {};
  const encoder = new TextEncoder();
  if (manifest) entries['imsmanifest.xml'] = encoder.encode(manifest(site));
  for (const file of site.engine.concat(site.quiz)) entries[file.path] = Module.FS.readFile(file.source);
  entries['files.json'] = encoder.encode(site.fileList);
  return { zip: fflate.zipSync(entries, { level: 6, mtime: new Date(2000, 0, 1) }), title: site.title, site };
}

// The package's imsmanifest.xml, written as `krvtool scorm` writes it (the
// same identifiers, file list and layout, byte for byte), from the same plan.
function utf8(text) {
  return new TextEncoder().encode(text);
}
function escapeXml(text, inAttribute) {
  let out = text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;').replace(/\r/g, '&#13;');
  if (inAttribute) out = out.replace(/"/g, '&quot;').replace(/\n/g, '&#10;').replace(/\t/g, '&#9;');
  return out;
}
// A href is a URI: every byte but letters, digits and -._~/ escaped.
function hrefOf(path) {
  let out = '';
  for (const byte of utf8(path)) {
    const c = String.fromCharCode(byte);
    out += /[A-Za-z0-9\-._~/]/.test(c) ? c : '%' + byte.toString(16).toUpperCase().padStart(2, '0');
  }
  return out;
}
// An identifier that XML takes as a name: letters and digits of the title.
function identifierOf(title) {
  let out = 'keravon_';
  for (const byte of utf8(title)) {
    const c = String.fromCharCode(byte);
    out += /[A-Za-z0-9]/.test(c) ? c : '_';
  }
  return out;
}
function manifestOf(site) {
  const title = escapeXml(site.title, false);
  const files = (list) => list.map((file) => '      <file href="' + escapeXml(hrefOf(file.path), true) + '"/>\n').join('');
  return '<?xml version="1.0" encoding="UTF-8"?>\n' +
    '<manifest identifier="' + escapeXml(identifierOf(site.title), true) + '" version="1.0"' +
    ' xmlns="http://www.imsproject.org/xsd/imscp_rootv1p1p2"' +
    ' xmlns:adlcp="http://www.adlnet.org/xsd/adlcp_rootv1p2"' +
    ' xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"' +
    ' xsi:schemaLocation="http://www.imsproject.org/xsd/imscp_rootv1p1p2 imscp_rootv1p1p2.xsd ' +
    'http://www.imsglobal.org/xsd/imsmd_rootv1p2p1 imsmd_rootv1p2p1.xsd ' +
    'http://www.adlnet.org/xsd/adlcp_rootv1p2 adlcp_rootv1p2.xsd">\n' +
    '  <metadata>\n    <schema>ADL SCORM</schema>\n    <schemaversion>1.2</schemaversion>\n  </metadata>\n' +
    '  <organizations default="quiz">\n    <organization identifier="quiz">\n' +
    '      <title>' + title + '</title>\n' +
    '      <item identifier="quiz_item" identifierref="quiz_page">\n' +
    '        <title>' + title + '</title>\n      </item>\n    </organization>\n  </organizations>\n' +
    '  <resources>\n' +
    '    <resource identifier="quiz_page" type="webcontent" adlcp:scormtype="sco" href="index.html">\n' +
    files(site.engine) + '      <file href="files.json"/>\n' + files(site.quiz) +
    '    </resource>\n  </resources>\n</manifest>\n';
}

const handlers = {
  build,
  files: async () => quizFiles(),
  site: async () => siteZip(),
  package: async () => siteZip(manifestOf),
};

onmessage = async (event) => {
  const message = event.data;
  try {
    const result = await handlers[message.type](message);
    postMessage(Object.assign({ id: message.id, type: 'done' }, result));
  } catch (error) {
    postMessage({ id: message.id, type: 'failed', message: String(error && error.message || error) });
  }
};
