// The browser test: headless Chromium opens the site from a server on
// 127.0.0.1, replays a key script in script mode, and every presented page's
// hash must equal the native headless run of the same script
// (`krvtool run --frame-hashes`). Then the package for learning platforms
// (`krvtool scorm`) is played inside a page that stands in for a platform and
// must report its result there, on a school laptop's screen the picture
// must fill the height and progress must survive a reload and F10, and on an
// emulated touch screen the on-screen controls must walk and answer.
// `make test-web` runs it:
//
//   node tests/web/browser_test.js SITE KRVTOOL GAME_FOLDER WORK_FOLDER [SCRIPT.keys...]
//
// playwright-core is found through NODE_PATH (the Makefile installs it into
// the build folder); the browser is Debian's chromium.
'use strict';

const { execFileSync } = require('child_process');
const fs = require('fs');
const path = require('path');
const { serve, launchBrowser } = require('./harness');

// Per script: loading the quiz and replaying a few hundred iterations takes
// seconds; a run that is not over by then has hung.
const kRunTimeoutMs = 45000;

function nativeHashes(krvtool, game, script, work) {
  const out = path.join(work, path.basename(script, '.keys') + '.native.txt');
  execFileSync(krvtool, ['run', '--script', script, '--data', game, '--frame-hashes', out,
                         '--frames', path.join(work, 'native-shots')],
               { stdio: ['ignore', 'ignore', 'inherit'] });
  return fs.readFileSync(out, 'utf8').split('\n').filter((line) => line);
}

async function browserHashes(browser, address, script) {
  const context = await browser.newContext();
  const page = await context.newPage();
  const problems = [];
  page.on('pageerror', (error) => problems.push(error.message));
  await page.addInitScript((text) => { window.keravonScript = text; },
                           fs.readFileSync(script, 'utf8'));
  await page.goto(address + '/index.html');
  await page.waitForFunction(() => window.keravonEnded === true, null,
                             { timeout: kRunTimeoutMs, polling: 100 });
  const result = await page.evaluate(() => ({
    frames: window.keravonFrames, fatal: window.keravonFatal || null,
    controls: document.getElementById('controls') !== null,
  }));
  await context.close();
  // A page used with a keyboard and no touch screen shows no on-screen controls.
  if (result.controls) result.fatal = (result.fatal || '') + 'on-screen controls without a touch screen';
  if (problems.length) result.fatal = (result.fatal || '') + problems.join('; ');
  return result;
}

// Both runs must present the same pages in the same iterations.
function compare(name, native, web) {
  const shown = Math.min(native.length, web.length);
  for (let i = 0; i < shown; ++i) {
    if (native[i] !== web[i]) {
      return `${name}: page ${i} differs: native "${native[i]}", browser "${web[i]}"`;
    }
  }
  if (native.length !== web.length) {
    return `${name}: native presented ${native.length} pages, the browser ${web.length}`;
  }
  if (native.length === 0) return `${name}: no page was presented`;
  return null;
}

// ---- The package in a learning platform ----

// A quiz of two questions in the default quiz's first maze, both objects at
// its home, so it is won in a few iterations: the first answered wrongly,
// then right with Space; the second right. One of two right at the first try.
const kTwoQuestions = {
  'krv.lgk': 'O 0\nfirst\nglobe.krv\n1\n790\n40\n-120\n800\n40\n-110\nfirst message\n#\n' +
             'O 0\nsecond\nchest.krv\n0\n790\n40\n-120\n790\n40\n-120\nsecond\nmessage\n#\n',
  'krv.qry': 'Q\nTEXT\n50\n50\nOne?\n#\n1\nQ\nTEXT\n50\n50\nTwo?\n#\n3\n',
  'krv.int': '-\n0\n0\n10000\n',
  'krv.end': 'Well done\n',
  'page.txt': '; the page in the quiz\'s words\ntitle: Two questions\n' +
              'result: {right} of {total} right at the first try ({time})\n',
};
const kTwoQuestionsScript = '1 press Esc\n3 press Down\n5 press 2\n7 press Down\n9 press Space\n' +
                            '11 press Up\n13 press 3\n16 press T\n60 end\n';

// The platform's side: a SCORM 1.2 API on the window above the package's
// page that records every call.
const kPlatformPage = `<!DOCTYPE html>
<meta charset="utf-8"><title>A learning platform</title>
<script>
window.platformCalls = [];
window.platformData = Object.assign({ 'cmi.core.lesson_status': 'not attempted', 'cmi.core.lesson_mode': 'normal' },
                                    window.platformHolds || {});
function record(call, result) { window.platformCalls.push(call); return result; }
window.API = {
  LMSInitialize: (a) => record(['LMSInitialize'], 'true'),
  LMSFinish: (a) => record(['LMSFinish'], 'true'),
  LMSGetValue: (key) => record(['LMSGetValue', key], window.platformData[key] || ''),
  LMSSetValue: (key, value) => {
    window.platformData[key] = value;
    return record(['LMSSetValue', key, value], 'true');
  },
  LMSCommit: (a) => record(['LMSCommit'], 'true'),
  LMSGetLastError: () => '0',
  LMSGetErrorString: () => 'No error',
  LMSGetDiagnostic: () => '',
};
</script>
<iframe id="course" src="package/index.html" width="900" height="700"></iframe>
`;

function packageProblem(calls, data, result) {
  const names = calls.map((call) => call[0]);
  const sets = calls.filter((call) => call[0] === 'LMSSetValue').map((call) => call[1] + '=' + call[2]);
  if (names[0] !== 'LMSInitialize') return 'the first call is not LMSInitialize';
  if (names[names.length - 1] !== 'LMSFinish') return 'LMSFinish is not the last call';
  if (names.filter((name) => name === 'LMSFinish').length !== 1) return 'LMSFinish more than once';
  if (names[names.length - 2] !== 'LMSCommit') return 'no LMSCommit right before LMSFinish';
  const incomplete = sets.indexOf('cmi.core.lesson_status=incomplete');
  const completed = sets.indexOf('cmi.core.lesson_status=completed');
  if (incomplete < 0 || completed < incomplete) return 'status not incomplete, then completed';
  const expected = { 'cmi.core.lesson_status': 'completed', 'cmi.core.score.raw': '50',
                     'cmi.core.score.min': '0', 'cmi.core.score.max': '100' };
  for (const [key, value] of Object.entries(expected)) {
    if (data[key] !== value) return `${key} is "${data[key]}", not "${value}"`;
  }
  // Platforms add each session time they are given to the attempt's total.
  if (sets.filter((set) => set.startsWith('cmi.core.session_time=')).length !== 1) {
    return 'the session time is not given exactly once';
  }
  if (!/^\d{4}:\d{2}:\d{2}\.\d{2}$/.test(data['cmi.core.session_time'] || '')) {
    return `session time "${data['cmi.core.session_time']}" is not HHHH:MM:SS.SS`;
  }
  if (!/^1 of 2 right at the first try \(0:\d\d\)/.test(result)) return `the page's result says "${result}"`;
  // Progress goes to suspend data as the game goes, and ends with the win.
  const suspended = sets.findIndex((set) => /^cmi\.suspend_data=\{.*KRV-PROGRESS/.test(set));
  if (suspended < 0 || sets.indexOf('cmi.core.exit=suspend') < 0) return 'no progress in suspend data';
  if (data['cmi.suspend_data'] !== '' || data['cmi.core.exit'] !== '') {
    return `after the win suspend data is "${data['cmi.suspend_data']}", exit "${data['cmi.core.exit']}"`;
  }
  return null;
}

async function packageInPlatform(browser, krvtool, game, site, work) {
  const quiz = path.join(work, 'two-questions');
  const platform = path.join(work, 'platform');
  const zip = path.join(work, 'two-questions.zip');
  for (const folder of [quiz, platform]) fs.rmSync(folder, { recursive: true, force: true });
  fs.mkdirSync(platform, { recursive: true });
  fs.cpSync(game, quiz, { recursive: true });
  for (const [name, text] of Object.entries(kTwoQuestions)) {
    fs.writeFileSync(path.join(quiz, 'Data', name), text);
  }
  // The site holds the engine as `make web` built it.
  execFileSync(krvtool, ['scorm', quiz, '-o', zip, '--engine', site], { stdio: ['ignore', 'ignore', 'inherit'] });
  execFileSync('unzip', ['-q', '-o', zip, '-d', path.join(platform, 'package')]);
  fs.writeFileSync(path.join(platform, 'index.html'), kPlatformPage);

  const server = await serve(path.resolve(platform));
  const context = await browser.newContext();
  try {
    const page = await context.newPage();
    const problems = [];
    page.on('pageerror', (error) => problems.push(error.message));
    await page.addInitScript((text) => {
      if (window.parent !== window) window.keravonScript = text;
    }, kTwoQuestionsScript);
    await page.goto(`http://127.0.0.1:${server.address().port}/index.html`);
    await page.waitForFunction(() => window.platformCalls.some((call) => call[0] === 'LMSFinish'),
                               null, { timeout: kRunTimeoutMs, polling: 100 });
    const { calls, data } = await page.evaluate(() => ({ calls: window.platformCalls, data: window.platformData }));
    const course = page.frame({ url: /package\/index\.html/ });
    const result = await course.evaluate(() => document.getElementById('message').textContent);
    const fatal = await course.evaluate(() => window.keravonFatal || null);
    if (fatal || problems.length) return 'the page stopped: ' + (fatal || problems.join('; '));
    const problem = packageProblem(calls, data, result);
    if (problem) return problem;
    console.log(`     ${calls.length} calls; score ${data['cmi.core.score.raw']}, ` +
                `session time ${data['cmi.core.session_time']}; the page says "${result.split('\n')[0]}"`);
    // The suspend data once the first question is done (the second sought),
    // given back in a later session.
    const questionOf = (data) => JSON.parse(data).progress.split(' ')[3];
    const kept = calls.find((call) => call[1] === 'cmi.suspend_data' && call[2] &&
                                      questionOf(call[2]) === '1');
    if (!kept) return 'no suspend data with the first question done';
    return await resumeInPlatform(browser, server, kept[2]);
  } finally {
    await context.close();
    server.close();
  }
}

// The platform says "resume" and holds the suspend data: the start screen
// offers Continue, and the game goes on from there, its tally too. The
// record is made to say the first question was right at the first try, so
// the second, right, must score 100 (50 if the tally were lost).
async function resumeInPlatform(browser, server, suspendData) {
  const context = await browser.newContext();
  try {
    const page = await context.newPage();
    const record = JSON.parse(suspendData);
    record.right = 1;
    await page.addInitScript((held) => {
      window.platformHolds = { 'cmi.core.entry': 'resume', 'cmi.suspend_data': held };
    }, JSON.stringify(record));
    await page.goto(`http://127.0.0.1:${server.address().port}/index.html`);
    const course = page.frameLocator('#course');
    await course.getByRole('button', { name: 'Continue', exact: true }).click({ timeout: kRunTimeoutMs });
    const frame = page.frame({ url: /package\/index\.html/ });
    await frame.waitForFunction(() => typeof window.keravonProgress === 'string', null,
                                { timeout: kRunTimeoutMs, polling: 50 });
    const continued = await frame.evaluate(() => window.keravonProgress);
    if (continued !== record.progress) return `resumed as "${continued}", not "${record.progress}"`;
    // In real time: a step back to the home, where the second question
    // shows, and its right answer, until the page hears of it.
    for (let attempt = 0; attempt < 10; ++attempt) {
      await page.keyboard.down('ArrowUp');
      await page.waitForTimeout(80);
      await page.keyboard.up('ArrowUp');
      await page.keyboard.press('Digit3');
      await page.waitForTimeout(150);
      if (await frame.evaluate(() => window.keravonTally && window.keravonTally.won)) break;
    }
    const score = await page.evaluate(() => window.platformData['cmi.core.score.raw']);
    if (score !== '100') return `the resumed game scores ${score}, not 100`;
    console.log(`     resumed from ${suspendData.length} characters of suspend data, won, score 100`);
    return null;
  } finally {
    await context.close();
  }
}

// ---- A lesson's worth of play ----

// fit_page's rectangles (tests/framework/page_fit_test.cpp) at the usual
// school laptop screens: the page must place the picture the same.
const kLaptopFits = [
  { width: 1280, height: 800, fit: { x: 107, y: 0, width: 1066, height: 800, sharpScale: 2 } },
  { width: 1366, height: 768, fit: { x: 171, y: 0, width: 1024, height: 768, sharpScale: 2 } },
];

async function pictureProblem(page, fit) {
  const shown = await page.evaluate(() => ({ fit: window.keravonFit, pixels: document.getElementById('screen').width }));
  const box = await page.locator('#screen').boundingBox();
  if (JSON.stringify(shown.fit) !== JSON.stringify(fit)) {
    return `the page fits ${JSON.stringify(shown.fit)}, the engine's rule ${JSON.stringify(fit)}`;
  }
  if (Math.round(box.x) !== fit.x || Math.round(box.y) !== fit.y || Math.round(box.height) !== fit.height) {
    return `the picture is at ${JSON.stringify(box)}`;
  }
  if (shown.pixels !== 640 * fit.sharpScale) return `the canvas is ${shown.pixels} pixels wide`;
  return null;
}

// The progress the page last heard of, after `action`, once the game has
// kept it again.
async function keptAfter(page, action) {
  await page.evaluate(() => { window.keravonProgress = null; });
  await action();
  await page.waitForFunction(() => typeof window.keravonProgress === 'string', null,
                             { timeout: kRunTimeoutMs, polling: 50 });
  return page.evaluate(() => window.keravonProgress);
}

// At 1280x800 and 1366x768 the picture fills the height. The first
// question answered (tests/web/quiz_answer.keys, in script mode), a reload
// and "Continue" put the player where they stood with the second object
// sought; F10 and "Continue" the same. Stored progress the game cannot use
// is dropped: no Continue, and the quiz starts anew.
async function lessonPlay(browser, address, script) {
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
  try {
    const page = await context.newPage();
    const problems = [];
    const consoleLines = [];
    page.on('pageerror', (error) => problems.push(error.message));
    page.on('console', (line) => consoleLines.push(line.text()));
    // The script plays the first visit only.
    await page.addInitScript((text) => {
      if (!sessionStorage.getItem('played')) {
        sessionStorage.setItem('played', '1');
        window.keravonScript = text;
      }
    }, fs.readFileSync(script, 'utf8'));
    await page.goto(address + '/index.html');
    await page.waitForFunction(() => window.keravonEnded === true, null,
                               { timeout: kRunTimeoutMs, polling: 100 });
    for (const { width, height, fit } of kLaptopFits) {
      await page.setViewportSize({ width: width, height: height });
      // The page fits on the resize event that follows.
      await page.waitForFunction((h) => window.keravonFit && window.keravonFit.height === h, height,
                                 { timeout: 2000, polling: 50 }).catch(() => {});
      const problem = await pictureProblem(page, fit);
      if (problem) return `at ${width}x${height}: ${problem}`;
    }
    const kept = await page.evaluate(() => window.keravonProgress);
    const stored = await page.evaluate(() => Object.values(localStorage).join(''));
    console.log(`     progress ${kept.length} characters, stored with the tally as ${stored.length}`);
    // The fields after the tag: version, quiz, question (the second now), ...
    if (!kept || kept.split(' ')[3] !== '1') return `the page kept "${kept}" after the first answer`;

    const button = (name) => page.getByRole('button', { name: name, exact: true });
    await page.reload();
    await button('Continue').waitFor({ timeout: kRunTimeoutMs });
    let again = await keptAfter(page, () => button('Continue').click());
    if (again !== kept) return `continued after a reload as "${again}", not "${kept}"`;

    await page.keyboard.press('F10');
    await button('Continue').waitFor({ timeout: kRunTimeoutMs });
    const size = await page.evaluate(() => parseFloat(getComputedStyle(document.getElementById('message')).fontSize));
    if (size < 30) return `the offer after F10 is in ${size} px text`;
    again = await keptAfter(page, () => button('Continue').click());
    if (again !== kept) return `continued after F10 as "${again}", not "${kept}"`;

    // Progress of another quiz (its key changed), then garbage, in the store.
    const key = await page.evaluate(() => Object.keys(localStorage)[0]);
    const record = JSON.parse(await page.evaluate((name) => localStorage.getItem(name), key));
    record.progress = record.progress.replace(/^(\S+ \S+ )\S+/, '$10');
    for (const [what, text] of [['progress of another quiz', JSON.stringify(record)],
                                ['garbage', '{"progress": 7']]) {
      consoleLines.length = 0;
      await page.evaluate(([name, value]) => localStorage.setItem(name, value), [key, text]);
      await page.reload();
      await page.waitForFunction(() => document.getElementById('message').classList.contains('hidden'),
                                 null, { timeout: kRunTimeoutMs, polling: 100 });
      await page.waitForTimeout(200);
      if (await button('Continue').count()) return `${what} is offered to continue`;
      if (!consoleLines.some((line) => /stored progress was dropped/.test(line))) {
        return `nothing on the console of dropped ${what}`;
      }
      if (await page.evaluate(() => localStorage.length)) return `the dropped ${what} is still stored`;
    }
    return problems.length ? problems.join('; ') : null;
  } finally {
    await context.close();
  }
}

// ---- Touch ----

// A tablet in landscape: the site in real time, played with the on-screen
// controls alone. Holding Forward walks from the start to the globe, whose
// question the tap on "1" answers (wrongly); the page hears of the answer.
async function touchPlay(browser, address) {
  const context = await browser.newContext({
    hasTouch: true, isMobile: true, viewport: { width: 1024, height: 768 },
  });
  try {
    const page = await context.newPage();
    const problems = [];
    page.on('pageerror', (error) => problems.push(error.message));
    await page.goto(address + '/index.html');
    await page.waitForFunction(() => document.getElementById('message').classList.contains('hidden'),
                               null, { timeout: kRunTimeoutMs, polling: 100 });
    const button = (name) => page.getByRole('button', { name: name, exact: true });
    for (const name of ['Forward', 'Back', 'Turn left', 'Turn right', '1', '2', '3']) {
      if (!(await button(name).isVisible())) return `no "${name}" button on a touch screen`;
    }
    const picture = await page.locator('#screen').boundingBox();
    if (picture.width < 640) return `the picture is ${picture.width} pixels wide beside the controls`;
    await page.locator('#screen').tap();  // the start screen
    await button('Skip intro').tap();
    const cdp = await context.newCDPSession(page);
    const forward = await button('Forward').boundingBox();
    const finger = { x: forward.x + forward.width / 2, y: forward.y + forward.height / 2 };
    // Walked in real time: hold, tap "1", until the question has come up and
    // taken the answer (a digit before it does nothing).
    for (let attempt = 0; attempt < 12; ++attempt) {
      await cdp.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: [finger] });
      await page.waitForTimeout(500);
      await cdp.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] });
      await button('1').tap();
      await page.waitForTimeout(100);
      const tally = await page.evaluate(() => window.keravonTally || null);
      if (tally) {
        if (problems.length) return problems.join('; ');
        console.log(`     the question answered after ${attempt + 1} holds of Forward`);
        return tally.total === 15 && tally.rightFirstTime === 0 ? null
            : `the answer reached the page as ${JSON.stringify(tally)}`;
      }
    }
    return problems.length ? problems.join('; ') : 'holding Forward and tapping 1 answered no question';
  } finally {
    await context.close();
  }
}

async function main() {
  const [site, krvtool, game, work, ...scripts] = process.argv.slice(2);
  if (!work) {
    console.error('usage: node browser_test.js SITE KRVTOOL GAME_FOLDER WORK_FOLDER [SCRIPT.keys...]');
    process.exit(2);
  }
  if (scripts.length === 0) scripts.push(path.join(__dirname, 'quiz_answer.keys'));
  fs.mkdirSync(work, { recursive: true });
  const server = await serve(path.resolve(site));
  const address = `http://127.0.0.1:${server.address().port}`;
  // Every page opens in a context of its own: nothing cached from an earlier site.
  const browser = await launchBrowser();
  let failures = 0;
  try {
    for (const script of scripts) {
      const name = path.basename(script);
      const started = Date.now();
      const native = nativeHashes(krvtool, game, script, work);
      const web = await browserHashes(browser, address, script);
      fs.writeFileSync(path.join(work, path.basename(script, '.keys') + '.browser.txt'),
                       web.frames.join('\n') + '\n');
      const problem = web.fatal ? `${name}: the page stopped: ${web.fatal}`
                                : compare(name, native, web.frames);
      if (problem) {
        ++failures;
        console.error('FAIL ' + problem);
      } else {
        console.log(`ok   ${name}: ${native.length} pages byte-identical ` +
                    `(${((Date.now() - started) / 1000).toFixed(1)} s)`);
      }
    }
    const checks = [
      ['the package in a learning platform', () => packageInPlatform(browser, krvtool, game, site, work)],
      ['a lesson on a laptop', () => lessonPlay(browser, address, path.join(__dirname, 'quiz_answer.keys'))],
      ['touch controls', () => touchPlay(browser, address)],
    ];
    for (const [name, check] of checks) {
      const started = Date.now();
      const problem = await check();
      if (problem) {
        ++failures;
        console.error(`FAIL ${name}: ${problem}`);
      } else {
        console.log(`ok   ${name} (${((Date.now() - started) / 1000).toFixed(1)} s)`);
      }
    }
  } finally {
    await browser.close();
    server.close();
  }
  process.exit(failures ? 1 : 0);
}

main().catch((error) => {
  console.error('FAIL ' + (error && error.stack || error));
  process.exit(1);
});
