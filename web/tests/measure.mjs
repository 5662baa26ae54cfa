// The web build's figures for the performance report, from one run of the
// site in Debian's headless Chromium (software WebGL, SwiftShader):
//
//   node web/tests/measure.mjs SITE_FOLDER [SECONDS]
//
// opens index.html?autostart=1 (the canvas is 800 x 600), lets the show play
// on the real clock for SECONDS (default 20) from its first frame and prints
// one line of JSON:
//   firstFrameMs    navigation start to the first frame drawn (getzorbi.frame >= 1)
//   frameMedianMs   median time between frames drawn, from requestAnimationFrame
//                   times, and so a whole number of the display's refreshes
//   frameMeanMs     the stretch's length over the frames drawn in it
//   frameP99Ms, frameWorstMs
//   frames, seconds frames drawn in the timed stretch, and its length
//   taskMsPerFrame  the page's main thread busy (CDP Performance.getMetrics
//                   TaskDuration) over the stretch, per frame drawn
//   scriptMsPerFrame  of that, running JavaScript and WebAssembly (ScriptDuration)
//   underruns       the sound's underruns over the whole run
// Ends with status 1 and a message when the show fails, ends early or draws
// fewer than ten frames in the stretch.
import {launchBrowser, openShow, readGetzorbi, serveSite, waitForState} from './browser.mjs';

const [folder, secondsText = '20'] = process.argv.slice(2);
const seconds = Number(secondsText);
if (!folder || !(seconds > 0)) {
  console.error('usage: node web/tests/measure.mjs SITE_FOLDER [SECONDS]');
  process.exit(2);
}

// The time from navigation start (the page's time origin) to the first
// frame, looked at once per animation frame from inside the page. If the
// frame was drawn before the first look, only an upper bound is known: say so.
function firstFrame(page) {
  return page.evaluate(() => new Promise((resolve) => {
    if (!window.getzorbi) {
      resolve(null);
      return;
    }
    const firstLook = window.getzorbi.frame >= 1;
    const look = () => {
      if (window.getzorbi.frame >= 1) resolve({ms: performance.now(), late: firstLook});
      else if (['failed', 'ended', 'still'].includes(window.getzorbi.state)) resolve(null);
      else requestAnimationFrame(look);
    };
    look();
  }));
}

// Starts recording, inside the page, the time of every animation frame in
// which the show drew a new frame.
function startFrameClock(page) {
  return page.evaluate(() => {
    const clock = window.measureFrameClock = {times: [], frames: [], running: true};
    let lastFrame = window.getzorbi.frame;
    const tick = (now) => {
      if (!clock.running) return;
      const frame = window.getzorbi.frame;
      if (frame !== lastFrame) {
        clock.times.push(now);
        clock.frames.push(frame);
        lastFrame = frame;
      }
      requestAnimationFrame(tick);
    };
    requestAnimationFrame(tick);
  });
}

function stopFrameClock(page) {
  return page.evaluate(() => {
    const clock = window.measureFrameClock;
    clock.running = false;
    return {times: clock.times, frames: clock.frames};
  });
}

function quantile(sorted, q) {
  const at = (sorted.length - 1) * q;
  const low = Math.floor(at);
  return sorted[low] + (sorted[Math.ceil(at)] - sorted[low]) * (at - low);
}

const round = (value, places = 2) => Number(value.toFixed(places));

const site = await serveSite(folder);
const browser = await launchBrowser();
try {
  const page = await openShow(browser, site.url, '?autostart=1');
  const first = await firstFrame(page);
  if (!first) {
    const run = await page.evaluate(() => window.getzorbi ? JSON.stringify(window.getzorbi) : document.title);
    throw new Error('the show drew no frame: ' + run);
  }
  if (first.late) throw new Error('the first frame was drawn before the page could look for it');
  await waitForState(page, ['playing']);

  const metricsBefore = await page.metrics();
  await startFrameClock(page);
  await new Promise((resolve) => setTimeout(resolve, seconds * 1000));
  const clock = await stopFrameClock(page);
  const metricsAfter = await page.metrics();
  const run = await readGetzorbi(page);
  if (run.state !== 'playing') throw new Error(`the show was "${run.state}" at the end of the timed stretch`);
  if (page.problems.length) throw new Error('the page failed: ' + page.problems.join('; '));

  // Frame times between consecutive drawn frames; where the show drew more
  // than one frame between two looks (it never should), the time is shared.
  const intervals = [];
  for (let i = 1; i < clock.times.length; i++) {
    const drawn = clock.frames[i] - clock.frames[i - 1];
    for (let k = 0; k < drawn; k++) intervals.push((clock.times[i] - clock.times[i - 1]) / drawn);
  }
  if (intervals.length < 10) throw new Error(`only ${intervals.length + 1} frames drawn in ${seconds} s`);
  intervals.sort((a, b) => a - b);
  const frames = clock.frames[clock.frames.length - 1] - clock.frames[0];
  const timed = (clock.times[clock.times.length - 1] - clock.times[0]) / 1000;
  const perFrame = (name) => (metricsAfter[name] - metricsBefore[name]) * 1000 / frames;

  console.log(JSON.stringify({
    firstFrameMs: round(first.ms, 0),
    frameMedianMs: round(quantile(intervals, 0.5)),
    frameMeanMs: round(timed * 1000 / frames),
    frameP99Ms: round(quantile(intervals, 0.99)),
    frameWorstMs: round(intervals[intervals.length - 1]),
    frames,
    seconds: round(timed, 1),
    taskMsPerFrame: round(perFrame('TaskDuration')),
    scriptMsPerFrame: round(perFrame('ScriptDuration')),
    underruns: run.underruns,
  }));
} catch (error) {
  console.error('measure.mjs: ' + error.message);
  process.exitCode = 1;
} finally {
  await browser.close();
  site.close();
}
