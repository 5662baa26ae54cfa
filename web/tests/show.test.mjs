// The web build in a real browser: Debian's Chromium, headless, with
// software WebGL, the site served from 127.0.0.1. Run by scripts/web-test.sh,
// which builds the site and hands over the desktop capture tool's stills of
// the same moments (DESKTOP_STILLS) to compare with.
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import {after, before, test} from 'node:test';

import {launchBrowser, openShow, readGetzorbi, serveSite, waitForState} from './browser.mjs';

const SITE = process.env.SITE || 'build-web/site';
const DESKTOP_STILLS = process.env.DESKTOP_STILLS;

// The README's moments, and what the desktop's capture tool names them.
const MOMENTS = [1, 6, 10, 25.4, 31.7, 39];
const stillName = (seconds) => `still-${seconds.toFixed(2).padStart(6, '0')}.png`;
// Software WebGL and llvmpipe round and filter a little differently; two
// desktop frames one frame apart differ by about 0.11.
const MAX_RMSE = 0.015;

// Each cue on the capture tool's 60 fps clock: the first frame whose time
// is past the cue's moment in the show.
const CUES = [
  {file: 'data/music/music1.mp3', frame: 121},
  {file: 'data/wav/jump.wav', frame: 589},
  {file: 'data/wav/cowards.wav', frame: 1801},
  {file: 'data/wav/spit.wav', frame: 1891},
  {file: 'data/wav/illgetyou.wav', frame: 2041},
  {file: 'data/wav/warcry.wav', frame: 2221},
];
const BANNER = ['GLUT version: 3 ::: ClocksPerSec: 1000', 'Loading Demo with settings: 800x600:32@75... '];

let site;
let browser;
before(async () => {
  site = await serveSite(SITE);
  browser = await launchBrowser();
});
after(async () => {
  await browser?.close();
  site?.close();
});

function rootMeanSquareError(first, second) {
  // ImageMagick writes the metric on standard error and exits 1 when the
  // pictures differ at all.
  try {
    execFileSync('compare', ['-metric', 'RMSE', first, second, 'null:'], {stdio: 'pipe'});
    return 0;
  } catch (error) {
    const normalised = /\(([\d.e-]+)\)/.exec(String(error.stderr));
    if (!normalised) throw error;
    return Number(normalised[1]);
  }
}

test('the stills match the desktop capture tool, the banner is all it prints and the cues come on their frames', async () => {
  assert.ok(DESKTOP_STILLS, 'DESKTOP_STILLS names the folder of the capture tool\'s stills');
  const page = await openShow(browser, site.url, '?still=' + MOMENTS.join(','));
  await waitForState(page, ['still']);
  const run = await readGetzorbi(page);
  await page.close();

  assert.deepEqual(run.lines, BANNER.map((text) => ({stream: 'stdout', text})));
  assert.deepEqual(run.cues, CUES);
  assert.equal(run.frame, Math.round(MOMENTS.at(-1) * 60) + 1);
  assert.deepEqual(run.stills.map((still) => still.seconds), MOMENTS);
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'getzorbi-web-stills-'));
  for (const still of run.stills) {
    const webStill = path.join(folder, stillName(still.seconds));
    fs.writeFileSync(webStill, Buffer.from(still.png.replace(/^data:image\/png;base64,/, ''), 'base64'));
    const error = rootMeanSquareError(path.join(DESKTOP_STILLS, stillName(still.seconds)), webStill);
    assert.ok(error <= MAX_RMSE, `the still at ${still.seconds} s differs from the desktop's by RMSE ${error}`);
  }
  fs.rmSync(folder, {recursive: true});
});

test('twenty seconds on the real clock play with the sound never running dry', async () => {
  const page = await openShow(browser, site.url, '?autostart=1');
  await waitForState(page, ['playing']);
  const started = Date.now();
  while (Date.now() - started < 20000) {
    await new Promise((resolve) => setTimeout(resolve, 500));
    await waitForState(page, ['playing']);
  }
  const run = await readGetzorbi(page);
  const sound = await page.evaluate(() => window.Module.webAudio.context.state);
  await page.close();
  assert.equal(sound, 'running');
  assert.equal(run.underruns, 0);
  assert.deepEqual(run.cues.map((cue) => cue.file), CUES.slice(0, 2).map((cue) => cue.file));
  assert.deepEqual(run.lines.map((line) => line.text), BANNER);
});

test('a click starts the show and Escape ends it: the picture and the sound stop and the page offers to play it again', async () => {
  const page = await openShow(browser, site.url);
  await waitForState(page, ['ready']);
  await page.click('#action');
  await waitForState(page, ['playing']);
  await page.waitForFunction(() => window.getzorbi.frame >= 3);
  await page.keyboard.press('Escape');
  await waitForState(page, ['ended']);
  const framesAtEnd = (await readGetzorbi(page)).frame;
  await new Promise((resolve) => setTimeout(resolve, 300));
  const run = await readGetzorbi(page);
  const sound = await page.evaluate(() => window.Module.webAudio.context);
  const text = await page.evaluate(() => document.body.innerText);
  await page.close();
  assert.equal(run.exitStatus, 0);
  assert.equal(run.frame, framesAtEnd);
  assert.equal(sound, null);
  assert.match(text, /The show has ended\.\s+Play it again/);
});

test('a page that cannot play says why: no WebGL, or an address option the program refuses', async () => {
  const withoutWebGl = await launchBrowser({webgl: false});
  const page = await openShow(withoutWebGl, site.url);
  await waitForState(page, ['failed']);
  const text = await page.evaluate(() => document.body.innerText);
  await withoutWebGl.close();
  assert.match(text, /This browser cannot show Get Zorbi: it has no WebGL/);

  const refused = await openShow(browser, site.url, '?still=6,1');
  await waitForState(refused, ['failed']);
  const run = await readGetzorbi(refused);
  const errors = await refused.evaluate(() => document.getElementById('errors').innerText);
  await refused.close();
  assert.equal(run.exitStatus, 2);
  assert.match(errors, /^getzorbi: still takes seconds in ascending order, such as still=1,6\.5: not 6,1$/);
});
