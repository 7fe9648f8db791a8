// The browser test: the built site served from 127.0.0.1 and played in headless
// Chromium. The page must load without a console error, show the arena and start the
// sound after the click, move the ball right while D is held, fire with the left button
// (the heads-up line changes), ignore Escape and end by its button; the game's
// recording, replayed by the desktop tool, must give the trace the page wrote, byte for
// byte. At device pixel ratios 2 and 3 (a phone, a laptop, a page zoom), and 1.5 set
// while playing, the arena must fill the whole canvas too. Prints the bytes transferred, the time to the first
// frame and the frame rate.
// Usage: node browser-test.js SITE DESKTOP_BUILD (run.sh sets NODE_PATH).
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { execFileSync } = require('child_process');
const puppeteer = require('puppeteer-core');
const { serve } = require('../serve.js');

const [site, desktopBuild] = process.argv.slice(2);
const failures = [];
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

function check(ok, what) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failures.push(what);
}

// The arena's own picture, 800 x 600 24-bit bottom-up BMP, as [r, g, b] at (x, y).
function backgroundPixel(bmp, x, y) {
  const offset = bmp.readUInt32LE(10);
  const at = offset + ((599 - y) * 800 + x) * 3;
  return [bmp[at + 2], bmp[at + 1], bmp[at]];
}

// What the canvas shows, read from a screenshot decoded in the page: samples on a
// 20-pixel grid of the arena, each at its pixel's centre in the screenshot's scale
// (device pixels), and the heads-up line's corner, as RGB triples.
async function canvasView(page) {
  const png = await (await page.$('#canvas')).screenshot({ encoding: 'base64' });
  return page.evaluate(async (data) => {
    const image = new Image();
    image.src = 'data:image/png;base64,' + data;
    await image.decode();
    const board = document.createElement('canvas');
    board.width = image.width;
    board.height = image.height;
    const context = board.getContext('2d');
    context.drawImage(image, 0, 0);
    const rgb = (x, y, w, h) => {
      const d = context.getImageData(x, y, w, h).data;
      const out = [];
      for (let i = 0; i < d.length; i += 4) out.push([d[i], d[i + 1], d[i + 2]]);
      return out;
    };
    const at = (v, side, shown) => Math.floor((v + 0.5) * shown / side);
    const grid = [];
    for (let y = 10; y < 600; y += 20) {
      for (let x = 10; x < 800; x += 20) {
        grid.push([x, y, ...rgb(at(x, 800, image.width), at(y, 600, image.height), 1, 1)[0]]);
      }
    }
    return { width: image.width, height: image.height, grid, corner: rgb(0, 0, 200, 20) };
  }, png);
}

const near = (a, b) => a.every((v, i) => Math.abs(v - b[i]) <= 2);
const frameReports = (page) => page.evaluate(() => (window.dreelFrameReports || []).length);
const isLit = (view) => view.grid.filter(([, , r, g, b]) => r + g + b > 30).length > view.grid.length / 2;
const backgroundSamples = (view, bmp) => view.grid.filter(([x, y, ...c]) => near(c, backgroundPixel(bmp, x, y)));

// A page at the given device pixel ratio, its console errors collected.
async function openPage(browser, ratio) {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 800, deviceScaleFactor: ratio });
  const errors = [];
  page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
  page.on('pageerror', (e) => errors.push(String(e)));
  return { page, errors };
}

// Loads the page, clicks to start and waits for the canvas to show a picture.
async function startGame(page, url) {
  await page.goto(url, { waitUntil: 'load' });
  await page.waitForFunction('window.dreelReady', { timeout: 60000 });
  const ready = await page.evaluate(() => window.dreelReady);
  await page.click('#cover');
  let view = null;
  for (const until = Date.now() + 20000; !(view && isLit(view)) && Date.now() < until;) view = await canvasView(page);
  return { ready, view };
}

async function play(browser, url, bmp, work) {
  const { page, errors } = await openPage(browser, 1);
  const cdp = await page.createCDPSession();
  await cdp.send('Network.enable');
  let bytes = 0;
  cdp.on('Network.loadingFinished', (e) => { bytes += e.encodedDataLength; });

  // The first picture drawn on the canvas, timed in the page: every 2-D and WebGL draw
  // call is watched from the start.
  await page.evaluateOnNewDocument(() => {
    const getContext = HTMLCanvasElement.prototype.getContext;
    HTMLCanvasElement.prototype.getContext = function (...args) {
      const context = getContext.apply(this, args);
      for (const name of ['drawArrays', 'drawElements', 'putImageData']) {
        const draw = context && context[name];
        if (!draw || draw.watched) continue;
        const watched = function (...a) {
          if (window.dreelFirstDraw === undefined) window.dreelFirstDraw = performance.now();
          return draw.apply(this, a);
        };
        watched.watched = true;
        context[name] = watched;
      }
      return context;
    };
  });
  const { ready, view } = await startGame(page, url);
  check(isLit(view), 'the canvas shows a picture after the click');
  const firstFrame = await page.evaluate(() => window.dreelFirstDraw);
  const sound = await page.evaluate(() => Module.SDL2 && Module.SDL2.audioContext && Module.SDL2.audioContext.state);
  check(sound === 'running', `the sound runs after the click (${sound})`);
  check(view.width === 800 && view.height === 600, `the canvas is shown at 800 x 600 (${view.width} x ${view.height})`);
  const same = backgroundSamples(view, bmp).length;
  check(same > view.grid.length * 0.7, `the arena's background colours (${same} of ${view.grid.length} samples)`);

  await page.keyboard.down('d');
  await sleep(1000);
  await page.keyboard.up('d');
  const cornerBefore = (await canvasView(page)).corner;
  await page.mouse.move(400, 300);
  await page.mouse.down();
  await sleep(600);
  await page.mouse.up();
  // A screenshot may still show an earlier frame on a busy machine: look again, briefly.
  const changed = (corner) => cornerBefore.some((c, i) => !near(c, corner[i]));
  let cornerAfter = (await canvasView(page)).corner;
  for (let look = 0; look < 10 && !changed(cornerAfter); ++look) {
    await sleep(200);
    cornerAfter = (await canvasView(page)).corner;
  }
  check(changed(cornerAfter), 'the heads-up line changes while firing');

  // Ten seconds more: the frame rate, from the game's own report (a line per 50
  // frames); measured, not judged, beyond frames coming at all.
  const before = await frameReports(page);
  await sleep(10000);
  const reports = await page.evaluate((from) => window.dreelFrameReports.slice(from).map((r) => r[1]), before);
  const fps = reports.length * 50 / 10;
  const late = Math.max(...reports.map((text) => Number(/latest start (\d+)/.exec(text)[1])));
  check(fps > 0, 'frames keep coming');

  const reportsBeforeEscape = await frameReports(page);
  await page.keyboard.press('Escape');
  await sleep(1500);
  const stillRunning = await page.evaluate(() => window.dreelEnded === undefined);
  check(stillRunning && (await frameReports(page)) > reportsBeforeEscape, 'Escape does not end the game');
  await page.evaluate(() => document.exitPointerLock());
  await page.click('#end');
  await page.waitForFunction('window.dreelEnded', { timeout: 10000 });

  const [recording, trace] = await page.evaluate(() =>
    [FS.readFile('/dreel.rec', { encoding: 'utf8' }), FS.readFile('/dreel.trace', { encoding: 'utf8' })]);
  checkRecording(recording, trace, work);
  check(errors.length === 0, `no console error${errors.length ? ': ' + errors.join(' | ') : ''}`);
  return { bytes, ready, firstFrame, fps, late };
}

// At a device pixel ratio above 1 the canvas shows in ratio times as many device pixels,
// and the arena must cover all of it: the background in each quarter of the picture, not
// only in the top-left one. One page for the ratios given: loaded at the first, the
// others set while the game runs (a page zoom). Closed once the pictures are seen.
async function pictureAtRatios(browser, url, bmp, ratios) {
  const { page, errors } = await openPage(browser, ratios[0]);
  let { view } = await startGame(page, url);
  for (const [i, ratio] of ratios.entries()) {
    const what = i === 0 ? `ratio ${ratio}` : `ratio ${ratio} (from ${ratios[i - 1]} while playing)`;
    if (i > 0) {
      await page.setViewport({ width: 1280, height: 800, deviceScaleFactor: ratio });
      // The canvas may be blank for a moment after the change: wait for a drawn frame.
      for (let look = 0; look < 20; ++look) {
        await sleep(300);
        view = await canvasView(page);
        if (isLit(view)) break;
      }
    }
    const box = await page.evaluate(() => {
      const r = document.getElementById('canvas').getBoundingClientRect();
      return [r.width, r.height];
    });
    const shown = box.map((side) => Math.round(side * ratio));
    check(view.width === shown[0] && view.height === shown[1],
          `${what}: the canvas is seen in ${view.width} x ${view.height} device pixels (${shown.join(' x ')})`);
    const same = backgroundSamples(view, bmp);
    const quarters = [[0, 0], [1, 0], [0, 1], [1, 1]].map(([qx, qy]) => {
      const inQuarter = ([x, y]) => Math.floor(x / 400) === qx && Math.floor(y / 300) === qy;
      return same.filter(inQuarter).length / view.grid.filter(inQuarter).length;
    });
    check(quarters.every((share) => share > 0.7),
          `${what}: the arena's background in every quarter of the canvas (samples matching: `
          + `${quarters.map((share) => Math.round(share * 100) + ' %').join(', ')}, top left first)`);
  }
  check(errors.length === 0, `ratios ${ratios.join(', ')}: no console error${errors.length ? ': ' + errors.join(' | ') : ''}`);
  await page.close();
}

// The game's own account: D held moved the ball right, the button raised the shot
// count, and the desktop replay of the recording writes the page's trace exactly.
function checkRecording(recording, trace, work) {
  const inputs = recording.split('\n').filter((l) => l && !l.startsWith('#')).map((l) => l.split(' '));
  const states = trace.trim().split('\n').map((l) => JSON.parse(l));
  const held = (test) => inputs.map((f, i) => (test(f) ? i + 1 : 0)).filter((n) => n);
  const dFrames = held((f) => (f[4] || '-').split(',').includes('32'));
  const fireFrames = held((f) => (Number(f[3]) & 1) === 1);
  check(dFrames.length >= 20, `D held in ${dFrames.length} frames`);
  if (dFrames.length) {
    const x0 = states[dFrames[0] - 1].player[0];
    const x1 = states[dFrames[dFrames.length - 1]].player[0];
    check(x1 > x0, `holding D moves the ball right (x ${x0} to ${x1})`);
  }
  check(fireFrames.length >= 10, `the left button held in ${fireFrames.length} frames`);
  if (fireFrames.length) {
    const shots0 = states[fireFrames[0] - 1].shotsFired;
    const shots1 = states[fireFrames[fireFrames.length - 1]].shotsFired;
    check(shots1 > shots0, `the left button fires (shots ${shots0} to ${shots1})`);
  }
  fs.writeFileSync(path.join(work, 'web.rec'), recording);
  fs.writeFileSync(path.join(work, 'web.trace'), trace);
  execFileSync(path.join(desktopBuild, 'tools/replay/dreel-replay'),
               ['--script', path.join(work, 'web.rec'), '--trace', path.join(work, 'desktop.trace')]);
  const replayed = fs.readFileSync(path.join(work, 'desktop.trace'), 'utf8');
  check(replayed === trace, `the desktop replay of the page's recording gives its trace (${states.length} frames)`);
}

async function main() {
  const bmp = fs.readFileSync(path.join(desktopBuild, 'data/Background.bmp'));
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'dreel-web-test-'));
  const server = await serve(site, 0);
  const browser = await puppeteer.launch({
    executablePath: process.env.DREEL_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: path.join(work, 'profile'),
    defaultViewport: { width: 1280, height: 800 },
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  try {
    const url = `http://127.0.0.1:${server.address().port}/?stats&trace`;
    const m = await play(browser, url, bmp, work);
    for (const ratios of [[2], [3, 1.5]]) await pictureAtRatios(browser, url, bmp, ratios);
    const sizes = fs.readdirSync(site).map((f) => `${f} ${fs.statSync(path.join(site, f)).size}`);
    console.log(`bytes transferred (gzip): ${m.bytes}; files: ${sizes.join(', ')}`);
    console.log(`load to click-ready: ${Math.round(m.ready)} ms; load to first frame drawn: `
                + `${Math.round(m.firstFrame)} ms (the click made at once)`);
    console.log(`frames per second over 10 s: ${m.fps}; latest frame start ${m.late} ms after due`);
  } finally {
    await browser.close();
    server.close();
    fs.rmSync(work, { recursive: true, force: true });
  }
  if (failures.length) {
    console.error(`browser test: ${failures.length} failed`);
    process.exit(1);
  }
  console.log('browser test: all passed');
}

main().catch((e) => { console.error(e); process.exit(1); });
