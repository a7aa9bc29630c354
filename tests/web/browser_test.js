// The browser test: headless Chromium opens the site from a server on
// 127.0.0.1, replays a key script in script mode, and every presented page's
// hash must equal the native headless run of the same script
// (`krvtool run --frame-hashes`). `make test-web` runs it:
//
//   node tests/web/browser_test.js SITE KRVTOOL GAME_FOLDER WORK_FOLDER [SCRIPT.keys...]
//
// playwright-core is found through NODE_PATH (the Makefile installs it into
// the build folder); the browser is Debian's chromium.
'use strict';

const { execFileSync } = require('child_process');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const { chromium } = require('playwright-core');

const kBrowser = process.env.KRV_CHROMIUM || '/usr/bin/chromium';
// Per script: loading the quiz and replaying a few hundred iterations takes
// seconds; a run that is not over by then has hung.
const kRunTimeoutMs = 45000;

const kTypes = {
  '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.json': 'application/json',
};

// A static server for the site alone, on a free port of 127.0.0.1. Started
// afresh by every test run, so it never serves a folder rebuilt under it.
function serve(root) {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = path.join(root, path.normalize(name).replace(/^(\.\.[/\\])+/, ''));
    if (!file.startsWith(root + path.sep)) {
      response.writeHead(403).end();
      return;
    }
    fs.readFile(file, (error, bytes) => {
      if (error) {
        response.writeHead(404).end();
        return;
      }
      response.writeHead(200, {
        'Content-Type': kTypes[path.extname(file).toLowerCase()] || 'application/octet-stream',
      });
      response.end(bytes);
    });
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

function nativeHashes(krvtool, game, script, work) {
  const out = path.join(work, path.basename(script, '.keys') + '.native.txt');
  execFileSync(krvtool, ['run', '--script', script, '--data', game, '--frame-hashes', out,
                         '--frames', path.join(work, 'native-shots')],
               { stdio: ['ignore', 'ignore', 'inherit'] });
  return fs.readFileSync(out, 'utf8').split('\n').filter((line) => line);
}

async function browserHashes(browser, address, script) {
  const page = await browser.newPage();
  const problems = [];
  page.on('pageerror', (error) => problems.push(error.message));
  await page.addInitScript((text) => { window.keravonScript = text; },
                           fs.readFileSync(script, 'utf8'));
  await page.goto(address + '/index.html');
  await page.waitForFunction(() => window.keravonEnded === true, null,
                             { timeout: kRunTimeoutMs, polling: 100 });
  const result = await page.evaluate(() => ({
    frames: window.keravonFrames, fatal: window.keravonFatal || null,
  }));
  await page.close();
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
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'krv-chromium-'));
  // A fresh profile each run: nothing cached from an earlier site.
  const browser = await chromium.launchPersistentContext(profile, {
    executablePath: kBrowser,
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
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
  } finally {
    await browser.close();
    server.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
  process.exit(failures ? 1 : 0);
}

main().catch((error) => {
  console.error('FAIL ' + (error && error.stack || error));
  process.exit(1);
});
