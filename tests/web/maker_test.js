// The quiz maker page in headless Chromium: a question list with a mistake
// shows the builder's own words beside the line; the list put right builds
// in the page, shows its map and its proof sheet, plays in the page, and
// downloads a site and a package that hold, byte for byte, what `krvtool
// quiz`, `web` and `scorm` make of the same list natively, and whose site
// presents, page for page, what `krvtool run` presents for the same keys.
// The work is still there after the page is opened again. `make test-web`
// runs it:
//
//   node tests/web/maker_test.js MAKER KRVTOOL GAME_FOLDER WORK_FOLDER
//
// playwright-core and fflate are found through NODE_PATH.
'use strict';

const { execFileSync } = require('child_process');
const fs = require('fs');
const path = require('path');
const { serve, launchBrowser } = require('./harness');
const fflate = require('fflate');

const kBuildTimeoutMs = 120000;
const kPlayTimeoutMs = 120000;

// Ten questions: the largest figure the page is measured by. Question 2
// shows a picture (decoded by the browser in the page, by SDL_image on the
// command line). The mistakes of the first build: question 4's wrong letter
// and question 6's picture, which no browser decodes.
function questionList(mistake) {
  const lines = ['Title: Maker test', 'Ending: WELL DONE!', ''];
  for (let i = 1; i <= 10; ++i) {
    lines.push(`What is ${i} and ${i}?`, `A) ${2 * i}`, `B) ${2 * i + 1}`, `C) ${2 * i - 1}`,
               `ANSWER: ${mistake && i === 4 ? 'D' : 'A'}`);
    if (i === 2) lines.push('Picture: map.png');
    if (i === 6 && mistake) lines.push('Picture: broken.png');
    lines.push('');
  }
  return lines.join('\n');
}
const kBrokenLine = questionList(true).split('\n').indexOf('Picture: broken.png') + 1;

function run(krvtool, args, cwd) {
  try {
    return execFileSync(krvtool, args, { cwd, encoding: 'utf8', stdio: ['ignore', 'pipe', 'pipe'] });
  } catch (error) {
    return error.stdout || '';  // the quiz builder says its problems on stdout and fails
  }
}

// A quiz in mazes of its own, two rooms above a cellar: the maze compiler
// writes their models in the page too, numbers and all.
function roomsMaze(marks) {
  return 'maze "Two Rooms"\ncell 50\norigin 640 -505\nhome 790 40 -105\nskirting 20 20 plinth\nscale 128\n' +
         'legend\n# solid walls brick\n. floor 0 ceiling 150 ground wood roof plaster walls brick\nend\n' +
         'map\n############\n#..........#\n#..........#\n#..........#\n####..######\n' +
         '#..........#\n#..........#\n#..........#\n#..........#\n############\nend\n' + marks;
}
const kOwnMazes = {
  'rooms.maze': roomsMaze('marks\n............\n............\n......qq....\n......qq....\n............\n' +
                          '............\n.....oo.....\n.....oo..TT.\n.........TT.\n............\nend\n' +
                          'mark o object first\nmark q object north\nmark T passage cellar\n'),
  'cellar.maze': roomsMaze('marks\n............\n............\n.........CC.\n.........CC.\n............\n' +
                           '............\n.....dd.....\n.....dd.....\n............\n............\nend\n' +
                           'mark C start cellar\nmark d object deep\n'),
};
const kOwnMazeList = 'Title: Own mazes\nMaze: rooms.maze\nMaze: cellar.maze\n\n' +
                     'Which?\nA) this\nB) that\nANSWER: A\nPlace: north\nObject: crystal\n\n' +
                     'Which else?\nA) this\nB) that\nANSWER: B\nPlace: deep\n';

// What the command line makes of the list: the built quiz, its keys, its
// pages, its site and its package.
function native(krvtool, game, work) {
  const quiz = path.join(work, 'quiz.txt');
  // The picture: the default quiz's map, larger than the screen (so it is
  // scaled too).
  run(krvtool, ['map', game, '-o', path.join(work, 'map.png')]);
  fs.writeFileSync(path.join(work, 'broken.png'), 'not a picture');
  fs.writeFileSync(quiz, questionList(true));
  // Named as the page names it, so the messages read the same.
  const problems = run(krvtool, ['quiz', 'quiz.txt', '-o', 'wrong', '--game', game], work)
    .split('\n').filter((line) => line.startsWith('quiz.txt:'));
  fs.writeFileSync(quiz, questionList(false));
  const built = path.join(work, 'game');
  run(krvtool, ['quiz', quiz, '-o', built, '--game', game]);
  run(krvtool, ['playtest', built, '-o', path.join(work, 'proof')]);
  const keys = fs.readFileSync(path.join(work, 'proof', 'play.keys'), 'utf8');
  const hashes = path.join(work, 'native.txt');
  run(krvtool, ['run', '--script', path.join(work, 'proof', 'play.keys'), '--data', built,
                '--frame-hashes', hashes]);
  run(krvtool, ['web', built, '-o', path.join(work, 'site')]);
  run(krvtool, ['scorm', built, '-o', path.join(work, 'package.zip')]);
  const own = path.join(work, 'own');
  fs.mkdirSync(own);
  for (const [name, text] of Object.entries(kOwnMazes)) fs.writeFileSync(path.join(own, name), text);
  fs.writeFileSync(path.join(own, 'quiz.txt'), kOwnMazeList);
  run(krvtool, ['quiz', 'quiz.txt', '-o', 'game', '--game', game], own);
  run(krvtool, ['web', path.join(own, 'game'), '-o', path.join(own, 'site')]);
  return {
    ownSite: path.join(own, 'site'),
    problems, keys,
    frames: fs.readFileSync(hashes, 'utf8').split('\n').filter((line) => line),
    site: path.join(work, 'site'),
    package: fflate.unzipSync(fs.readFileSync(path.join(work, 'package.zip'))),
  };
}

function compareFrames(native, web) {
  const shown = Math.min(native.length, web.length);
  for (let i = 0; i < shown; ++i) {
    if (native[i] !== web[i]) return `page ${i} differs: native "${native[i]}", browser "${web[i]}"`;
  }
  if (native.length !== web.length) return `native presented ${native.length} pages, the browser ${web.length}`;
  return native.length ? null : 'no page was presented';
}

function filesUnder(folder, prefix = '') {
  const out = {};
  for (const entry of fs.readdirSync(folder, { withFileTypes: true })) {
    const inner = path.join(folder, entry.name);
    if (entry.isDirectory()) Object.assign(out, filesUnder(inner, prefix + entry.name + '/'));
    else out[prefix + entry.name] = fs.readFileSync(inner);
  }
  return out;
}

// The same files with the same bytes, or the first difference.
function compareFiles(what, expected, got) {
  const names = Object.keys(expected).sort();
  const gotNames = Object.keys(got).sort();
  if (names.join('\n') !== gotNames.join('\n')) {
    const missing = names.filter((n) => !(n in got));
    const extra = gotNames.filter((n) => !(n in expected));
    return `${what}: missing [${missing.join(', ')}], extra [${extra.join(', ')}]`;
  }
  for (const name of names) {
    if (Buffer.compare(Buffer.from(expected[name]), Buffer.from(got[name])) !== 0) return `${what}: ${name} differs`;
  }
  return null;
}

async function build(page) {
  await page.getByRole('button', { name: 'Build', exact: true }).click();
  await page.waitForFunction(() => /^(Built|\d+ problems?|The build failed)/.test(
    document.getElementById('status').textContent), null, { timeout: kBuildTimeoutMs, polling: 100 });
  return page.locator('#status').textContent();
}

async function download(page, name) {
  const [file] = await Promise.all([page.waitForEvent('download'),
                                    page.getByRole('button', { name }).click()]);
  return fflate.unzipSync(new Uint8Array(fs.readFileSync(await file.path())));
}

async function scriptRun(browser, address, keys) {
  const context = await browser.newContext();
  const page = await context.newPage();
  await page.addInitScript((text) => { window.keravonScript = text; }, keys);
  await page.goto(address + '/index.html');
  await page.waitForFunction(() => window.keravonEnded === true, null, { timeout: kPlayTimeoutMs, polling: 200 });
  const frames = await page.evaluate(() => window.keravonFrames);
  await context.close();
  return frames;
}

async function main() {
  const [maker, krvtool, game, work] = process.argv.slice(2);
  if (!work) {
    console.error('usage: node tests/web/maker_test.js MAKER KRVTOOL GAME_FOLDER WORK_FOLDER');
    process.exit(2);
  }
  fs.rmSync(work, { recursive: true, force: true });
  fs.mkdirSync(work, { recursive: true });
  const expected = native(path.resolve(krvtool), path.resolve(game), path.resolve(work));
  const server = await serve(path.resolve(maker));
  const address = `http://127.0.0.1:${server.address().port}`;
  const browser = await launchBrowser();
  const failures = [];
  const check = (name, problem) => {
    if (problem) failures.push(name + ': ' + problem);
    console.log((problem ? 'FAIL ' : 'ok   ') + name + (problem ? ': ' + problem : ''));
  };
  try {
    const context = await browser.newContext({ acceptDownloads: true });
    const page = await context.newPage();
    const errors = [];
    page.on('pageerror', (error) => errors.push(error.stack || error.message));
    // The page hands a script given to it to the game it plays.
    await page.addInitScript((text) => { window.keravonScript = text; }, expected.keys);
    await page.goto(address + '/index.html');

    // Mistakes: the builder's words, beside their lines; the picture the
    // browser cannot decode is named.
    await page.locator('#add').setInputFiles([path.join(work, 'map.png'), path.join(work, 'broken.png')]);
    await page.getByLabel('Questions').fill(questionList(true));
    await build(page);
    const rows = await page.locator('#problem-rows div').allTextContents();
    const broken = rows.filter((row) => row.startsWith(kBrokenLine + ': '));
    check('a picture the browser cannot decode named beside its line',
          broken.length === 1 && broken[0].includes('broken.png') && broken[0].includes('cannot decode')
            ? null : `[${rows.join(' | ')}]`);
    const shown = rows.filter((row) => !row.startsWith(kBrokenLine + ': '));
    const wanted = expected.problems.map((line) => line.replace(/^quiz\.txt:/, ''))
      .filter((row) => !row.startsWith(kBrokenLine + ': '));
    check('problems beside their lines',
          wanted.length && shown.join('\n') === wanted.join('\n') ? null
            : `the page shows [${shown.join(' | ')}] (${await page.locator('#status').textContent()}), krvtool quiz says [${wanted.join(' | ')}]`);

    // Put right: built, with its map and its proof sheet.
    await page.getByLabel('Questions').fill(questionList(false));
    const status = await build(page);
    const built = await page.evaluate(() => window.keravonMakerBuilt || null);
    const pictures = await page.evaluate(() => ['map', 'proof'].map((id) => {
      const canvas = document.getElementById(id);
      return canvas.checkVisibility() ? canvas.width * canvas.height : 0;
    }));
    check('ten questions built in the page', built ? null : status + ' ' + (await page.locator('#other-problems').textContent()));
    if (!built) throw new Error('nothing more to test');
    console.log(`     the build took ${built.buildSeconds.toFixed(1)} s, with the map and the ` +
                `proof sheet ${built.totalSeconds.toFixed(1)} s`);
    check('the map and the proof sheet shown', pictures.every((area) => area > 0) ? null
          : `map ${pictures[0]} pixels, proof sheet ${pictures[1]} pixels`);
    // The keys played, apart from the comments naming the folders.
    const pressed = (keys) => keys.split('\n').filter((line) => !line.startsWith('#')).join('\n');
    check('the same playtest keys as krvtool playtest',
          pressed(built.keys) === pressed(expected.keys) ? null : 'the keys differ');

    // Play: the quiz in the page, as the command line plays it.
    await page.getByRole('button', { name: 'Play' }).click();
    await page.waitForFunction(() => {
      const frame = document.querySelector('#play-frame iframe');
      return frame && frame.contentWindow && frame.contentWindow.keravonEnded === true;
    }, null, { timeout: kPlayTimeoutMs, polling: 200 });
    const played = await page.evaluate(() => {
      const inner = document.querySelector('#play-frame iframe').contentWindow;
      return { frames: inner.keravonFrames, tally: inner.keravonTally || null, fatal: inner.keravonFatal || null };
    });
    check('Play answers every question and wins',
          played.fatal || (played.tally && played.tally.won && played.tally.total === 10 ? null
                                                                               : JSON.stringify(played.tally)));
    check('Play presents the pages of krvtool run', compareFrames(expected.frames, played.frames));

    // The downloads hold what the command line writes.
    const site = await download(page, 'Download site');
    check('"Download site" holds the files of krvtool web', compareFiles('site', filesUnder(expected.site), site));
    const pack = await download(page, 'Download package');
    check('"Download package" holds the files of krvtool scorm', compareFiles('package', expected.package, pack));
    const unpacked = path.join(work, 'downloaded-site');
    for (const [name, bytes] of Object.entries(site)) {
      fs.mkdirSync(path.dirname(path.join(unpacked, name)), { recursive: true });
      fs.writeFileSync(path.join(unpacked, name), bytes);
    }
    const siteServer = await serve(path.resolve(unpacked));
    const frames = await scriptRun(browser, `http://127.0.0.1:${siteServer.address().port}`, expected.keys);
    siteServer.close();
    check('the downloaded site presents the pages of krvtool run', compareFrames(expected.frames, frames));

    // Mazes of the quiz's own.
    await page.locator('#add').setInputFiles(Object.keys(kOwnMazes).map((name) => path.join(work, 'own', name)));
    await page.getByLabel('Questions').fill(kOwnMazeList);
    const ownStatus = await build(page);
    check('a quiz in mazes of its own built in the page', ownStatus.startsWith('Built') ? null : ownStatus);
    check('its site holds the files of krvtool web',
          compareFiles('site', filesUnder(expected.ownSite), await download(page, 'Download site')));
    await page.getByLabel('Questions').fill(questionList(false));

    // The work is kept: opened again, the list is there.
    await page.reload();
    const kept = await page.getByLabel('Questions').inputValue();
    check('the questions kept after the page is opened again', kept === questionList(false) ? null : 'lost');
    check('no page errors', errors.length ? errors.join('; ') : null);
    await context.close();
  } finally {
    await browser.close();
    server.close();
  }
  process.exit(failures.length ? 1 : 0);
}

main().catch((error) => {
  console.error('FAIL ' + (error && error.stack || error));
  process.exit(1);
});
