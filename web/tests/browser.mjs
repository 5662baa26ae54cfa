// What the browser tests and the performance report share: the site served
// from 127.0.0.1 on a port the system picks, and Debian's Chromium, headless
// with software WebGL (SwiftShader), driven through puppeteer-core.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const CONTENT_TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.data': 'application/octet-stream',
};

// Serves `folder` as a static site. The port is known once listen() has
// answered, so nothing waits for the server to come up.
export function serveSite(folder) {
  const root = path.resolve(folder);
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://localhost').pathname).replace(/\/$/, '/index.html');
    const file = path.join(root, path.normalize(name));
    if (!file.startsWith(root + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, {'Content-Type': CONTENT_TYPES[path.extname(file)] || 'application/octet-stream'});
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(0, '127.0.0.1', () => {
      resolve({url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close()});
    });
  });
}

// webgl: false gives a browser without WebGL. Sound plays without a click,
// as a person's click would allow it.
export function launchBrowser({webgl = true} = {}) {
  const args = ['--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--autoplay-policy=no-user-gesture-required'];
  if (!webgl) args.push('--disable-webgl', '--disable-3d-apis');
  if (process.getuid && process.getuid() === 0) args.push('--no-sandbox');
  return puppeteer.launch({executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true, args});
}

// Opens the page with the address's options; a crash of the page or an
// uncaught error is kept, so a wait can end on it.
export async function openShow(browser, siteUrl, query = '') {
  const page = await browser.newPage();
  page.problems = [];
  page.on('pageerror', (error) => page.problems.push(error.message));
  page.on('error', (error) => page.problems.push('page crashed: ' + error.message));
  await page.goto(siteUrl + 'index.html' + query);
  return page;
}

const FINAL_STATES = ['still', 'ended', 'failed'];

// Waits until window.getzorbi.state is one of `wanted`. Fails at once when
// the page crashes or the run reaches a final state that is not wanted,
// since the wanted one can then no longer come.
export async function waitForState(page, wanted) {
  for (;;) {
    if (page.problems.length) throw new Error('the page failed: ' + page.problems.join('; '));
    const state = await page.evaluate(() => window.getzorbi && window.getzorbi.state);
    if (wanted.includes(state)) return state;
    if (FINAL_STATES.includes(state)) {
      const lines = await page.evaluate(() => window.getzorbi.lines.map((line) => line.text));
      throw new Error(`the show reached "${state}" instead of ${wanted.join(' or ')}; it printed: ${lines.join(' | ')}`);
    }
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
}

export function readGetzorbi(page) {
  return page.evaluate(() => JSON.parse(JSON.stringify(window.getzorbi)));
}
