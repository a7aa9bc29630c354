// What the browser tests share: a static server for one folder alone, on a
// free port of 127.0.0.1 (each test run starts its own, so it never serves a
// folder rebuilt under it), and Debian's chromium, headless.
'use strict';

const fs = require('fs');
const http = require('http');
const path = require('path');
const { chromium } = require('playwright-core');

const kBrowser = process.env.KRV_CHROMIUM || '/usr/bin/chromium';

const kTypes = {
  '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.json': 'application/json',
};

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

function launchBrowser() {
  return chromium.launch({
    executablePath: kBrowser,
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
}

module.exports = { serve, launchBrowser };
