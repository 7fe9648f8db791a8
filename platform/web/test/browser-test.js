// The browser test: the built site served from 127.0.0.1 and played in headless
// Chromium. The page must load without a console error, show the arena and start the
// sound after the click, move the ball right while D is held, fire with the left button
// (the heads-up line changes), ignore Escape and end by its button; the game's
// recording, replayed by the desktop tool, must give the trace the page wrote, byte for
// byte. The picture must fill the stage as the largest 4:3 rectangle, centred, with the
// arena in every quarter and sharp pixels (an exact whole-number enlargement of the
// game's canvas, smoothed by the browser only in the last step, under 2x), at device
// pixel ratios 1, 2 and 3 (a phone, a laptop, a page zoom), 1.5 set while playing, and on
// wide and tall stages; the last picture stays once the game has ended. The player's
// store is mounted and loaded before the page lets the game start, and what is saved
// there is there after a reload, the game's settings too. Prints the bytes transferred, the time to the first
// frame and the frame rate.
// Usage: node browser-test.js SITE DESKTOP_BUILD (run.sh sets NODE_PATH).
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { execFileSync } = require('child_process');
const { serve } = require('../serve.js');
const { launchChromium, phoneView, watchDraws } = require('./chromium.js');

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

// What the page shows of the picture, read from a screenshot of the display canvas
// decoded in the page: samples on a 20-pixel grid of the arena, each at its pixel's
// centre in the screenshot's scale (device pixels), and the heads-up line's corner, as
// RGB triples.
async function canvasView(page) {
  const png = await (await page.$('#display')).screenshot({ encoding: 'base64' });
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
    const corner = rgb(0, 0, Math.round(200 * image.width / 800), Math.round(20 * image.height / 600));
    return { width: image.width, height: image.height, grid, corner };
  }, png);
}

// The same grid read straight from the display canvas's own pixels, which a screenshot
// would show darkened by the cover once the game has ended.
const displayPixels = (page) => page.evaluate(() => {
  const display = document.getElementById('display');
  const context = display.getContext('2d');
  const grid = [];
  for (let y = 10; y < 600; y += 20) {
    for (let x = 10; x < 800; x += 20) {
      const d = context.getImageData(Math.floor((x + 0.5) * display.width / 800),
                                     Math.floor((y + 0.5) * display.height / 600), 1, 1).data;
      grid.push([x, y, d[0], d[1], d[2]]);
    }
  }
  return { grid };
});

// The largest 4:3 rectangle in a stage, centred, as [left, top, width, height].
function fillRect(stageWidth, stageHeight) {
  const width = Math.min(stageWidth, stageHeight * 4 / 3);
  const height = width * 3 / 4;
  return [(stageWidth - width) / 2, (stageHeight - height) / 2, width, height];
}
const within = (a, b, slack) => a.every((v, i) => Math.abs(v - b[i]) <= slack);
const rectText = (r) => `${r.map((v) => Math.round(v * 10) / 10).join(', ')}`;

const near = (a, b) => a.every((v, i) => Math.abs(v - b[i]) <= 2);
const frameReports = (page) => page.evaluate(() => (window.dreelFrameReports || []).length);
const isLit = (view) => view.grid.filter(([, , r, g, b]) => r + g + b > 30).length > view.grid.length / 2;
const backgroundSamples = (view, bmp) => view.grid.filter(([x, y, ...c]) => near(c, backgroundPixel(bmp, x, y)));

// A page at the given device pixel ratio, its console errors collected.
async function openPage(browser, ratio) {
  const page = await browser.newPage();
  // Every load from the server, as on a first visit: the page's service worker would
  // answer from its cache after the first (install-test.js tests that).
  await page.setBypassServiceWorker(true);
  await page.setViewport({ width: 1280, height: 800, deviceScaleFactor: ratio });
  const errors = [];
  page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
  page.on('pageerror', (e) => errors.push(String(e)));
  return { page, errors };
}

// Loads the page, clicks (or taps) to start and waits for the canvas to show a picture.
async function startGame(page, url, tap = false) {
  await page.goto(url, { waitUntil: 'load' });
  await page.waitForFunction('window.dreelReady', { timeout: 60000 });
  const ready = await page.evaluate(() => window.dreelReady);
  if (tap) await page.tap('#cover'); else await page.click('#cover');
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

  await watchDraws(page);
  const { ready, view } = await startGame(page, url);
  check(isLit(view), 'the canvas shows a picture after the click');
  const firstFrame = await page.evaluate(() => window.dreelFirstDraw);
  const sound = await page.evaluate(() => Module.SDL2 && Module.SDL2.audioContext && Module.SDL2.audioContext.state);
  check(sound === 'running', `the sound runs after the click (${sound})`);
  await checkFill(page, 'ratio 1', 1, view, bmp);

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
  const sticksShown = await page.evaluate(() => [...document.querySelectorAll('.stick')].some((e) => e.style.display === 'block')
    || !document.getElementById('touch-keys').hidden);
  check(!sticksShown, 'no touch sticks nor their hints without a touch screen');

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
  // Under the cover the last picture stays, through a page small enough for the display
  // canvas to change its size too (which clears a canvas).
  for (const when of ['after the end', 'after the end and a resize']) {
    if (when !== 'after the end') await page.setViewport({ width: 800, height: 560, deviceScaleFactor: 1 });
    await sleep(300);
    const kept = backgroundSamples(await displayPixels(page), bmp).length;
    check(kept > 0.7 * 30 * 40, `${when}: the last picture stays (${kept} of ${30 * 40} samples the arena's background)`);
  }

  const [recording, trace] = await page.evaluate(() =>
    [FS.readFile('/dreel.rec', { encoding: 'utf8' }), FS.readFile('/dreel.trace', { encoding: 'utf8' })]);
  checkRecording(recording, trace, work);
  check(errors.length === 0, `no console error${errors.length ? ': ' + errors.join(' | ') : ''}`);
  return { bytes, ready, firstFrame, fps, late };
}

// The picture as laid out and as seen, at the given device pixel ratio: the display
// canvas is the largest 4:3 rectangle of the stage, centred, with the game's canvas (the
// input, SDL's mouse coordinates) at the same place; a screenshot of the stage is lit
// there and black around it; the arena's background shows in each quarter, not only in
// the top-left one; and the pixels are sharp: the display canvas holds an exact
// nearest-pixel copy of the game's canvas, k times over for a whole k at which the
// browser's smoothing only shrinks, by less than half.
async function checkFill(page, what, ratio, view, bmp) {
  const laid = await page.evaluate(() => {
    const stage = document.getElementById('stage');
    const box = (id) => {
      const r = document.getElementById(id).getBoundingClientRect();
      const s = stage.getBoundingClientRect();
      return [r.left - s.left, r.top - s.top, r.width, r.height];
    };
    const s = stage.getBoundingClientRect();
    return { stage: [stage.clientWidth, stage.clientHeight], at: [s.left, s.top, s.width, s.height],
             display: box('display'), canvas: box('canvas'),
             rendering: getComputedStyle(document.getElementById('display')).imageRendering };
  });
  const [stageWidth, stageHeight] = laid.stage;
  const expected = fillRect(stageWidth, stageHeight);
  check(within(laid.display, expected, 1),
        `${what}: the picture is the largest 4:3 rectangle of the ${stageWidth} x ${stageHeight} stage, `
        + `centred (${rectText(laid.display)}; expected ${rectText(expected)})`);
  check(within(laid.canvas, laid.display, 0.01),
        `${what}: the game's canvas lies under it, at the same place (${rectText(laid.canvas)})`);

  // The clip is whole CSS pixels inside the stage, as the bar below it is lit too; on a
  // phone the bar lies over the stage's side, so it is hidden for the shot.
  await page.evaluate(() => { document.getElementById('bar').style.visibility = 'hidden'; });
  const stagePng = await page.screenshot({ encoding: 'base64',
    clip: { x: laid.at[0], y: laid.at[1], width: Math.floor(laid.at[2]), height: Math.floor(laid.at[3]) } });
  await page.evaluate(() => { document.getElementById('bar').style.visibility = ''; });
  const lit = await page.evaluate(async (data) => {
    const image = new Image();
    image.src = 'data:image/png;base64,' + data;
    await image.decode();
    const board = document.createElement('canvas');
    board.width = image.width;
    board.height = image.height;
    const context = board.getContext('2d');
    context.drawImage(image, 0, 0);
    const d = context.getImageData(0, 0, image.width, image.height).data;
    let [x0, y0, x1, y1] = [Infinity, Infinity, -1, -1];
    for (let y = 0, i = 0; y < image.height; ++y) {
      for (let x = 0; x < image.width; ++x, i += 4) {
        if (d[i] + d[i + 1] + d[i + 2] <= 24) continue;
        x0 = Math.min(x0, x); x1 = Math.max(x1, x); y0 = Math.min(y0, y); y1 = Math.max(y1, y);
      }
    }
    return [x0, y0, x1 + 1 - x0, y1 + 1 - y0];
  }, stagePng);
  const litCss = lit.map((v) => v / ratio);
  check(within(litCss, expected, 2), `${what}: a screenshot of the stage is lit just there `
        + `(${rectText(litCss)}), black around it`);

  // An element's screenshot is clipped to whole CSS pixels: a box of fractional size
  // (at ratios 1.5 and 3) is seen up to one CSS pixel larger or smaller.
  const shown = laid.display.slice(2).map((side) => Math.round(side * ratio));
  check(within([view.width, view.height], shown, ratio),
        `${what}: the picture is seen in ${view.width} x ${view.height} device pixels (${shown.join(' x ')})`);
  const same = backgroundSamples(view, bmp);
  const quarters = [[0, 0], [1, 0], [0, 1], [1, 1]].map(([qx, qy]) => {
    const inQuarter = ([x, y]) => Math.floor(x / 400) === qx && Math.floor(y / 300) === qy;
    return same.filter(inQuarter).length / view.grid.filter(inQuarter).length;
  });
  check(quarters.every((share) => share > 0.7),
        `${what}: the arena's background in every quarter of the picture (samples matching: `
        + `${quarters.map((share) => Math.round(share * 100) + ' %').join(', ')}, top left first)`);

  // Read in an animation frame after the page's own copy, before the game can draw again.
  const copy = await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => {
    const game = document.getElementById('canvas');
    const display = document.getElementById('display');
    const k = display.width / game.width;
    const from = game.getContext('2d').getImageData(0, 0, game.width, game.height).data;
    const to = display.getContext('2d').getImageData(0, 0, display.width, display.height).data;
    let wrong = 0;
    for (let y = 0, i = 0; y < display.height; ++y) {
      const row = Math.floor(y / k) * game.width;
      for (let x = 0; x < display.width; ++x, i += 4) {
        const j = (row + Math.floor(x / k)) * 4;
        if (to[i] !== from[j] || to[i + 1] !== from[j + 1] || to[i + 2] !== from[j + 2]) ++wrong;
      }
    }
    resolve({ size: [display.width, display.height], game: [game.width, game.height], k, wrong });
  })));
  const deviceHeight = laid.display[3] * ratio;
  const wholeFold = Number.isInteger(copy.k) && copy.size[1] === copy.game[1] * copy.k;
  const onlyShrinks = copy.size[1] >= deviceHeight - 1 && (copy.k === 1 || copy.size[1] < 2 * deviceHeight);
  check(copy.game.join() === '800,600' && wholeFold && onlyShrinks && copy.wrong === 0
        && laid.rendering === 'auto',
        `${what}: sharp pixels: the display holds ${copy.size.join(' x ')}, the game's `
        + `${copy.game.join(' x ')} copied ${copy.k} times over (${copy.wrong} pixels otherwise), `
        + `shown smoothed (${laid.rendering}) in ${Math.round(deviceHeight)} device pixels high`);
}

// The page on a phone, played with the thumbs: made for fingers (no scrolling, zooming,
// selecting; the notch kept clear), full screen offered and landscape asked for on
// entering it; a tap starts; one finger dragged right on the left half moves the ball
// right, and holds no button (SDL's finger-to-mouse translation is off); one held up on
// the right half aims up and fires; both at once; a cancelled touch releases all; the
// sticks are drawn where the thumbs are; the page's recording replays on the desktop to
// its trace. Returns the time from a touch to the picture of the first frame it moved.
async function phone(browser, url, bmp, work) {
  const { page, errors } = await openPage(browser, 2);
  await page.setViewport(phoneView);
  await watchDraws(page);
  await page.evaluateOnNewDocument(() => {
    window.dreelTouches = [];
    window.addEventListener('touchmove', () => window.dreelTouches.push(performance.now()), { capture: true, passive: true });
    // Whether the page asks for landscape; the headless browser would refuse the lock.
    if (screen.orientation) screen.orientation.lock = (o) => { (window.dreelLocks ||= []).push(o); return Promise.resolve(); };
  });
  await page.goto(url, { waitUntil: 'load' });
  await page.waitForFunction('window.dreelReady', { timeout: 60000 });
  const made = await page.evaluate(() => {
    const style = (e) => getComputedStyle(e);
    const viewport = document.querySelector('meta[name=viewport]').content;
    return [style(document.documentElement).touchAction, style(document.body).touchAction,
            style(document.documentElement).overscrollBehaviorY, style(document.body).userSelect,
            /viewport-fit=cover/.test(viewport), document.getElementById('touch-keys').hidden].join();
  });
  check(made === 'none,none,none,none,true,false', `the page is made for fingers (touch-action, overscroll, `
        + `selection, viewport-fit, the touch hints: ${made})`);
  await page.tap('#full');
  await sleep(300);
  const full = await page.evaluate(() => [document.fullscreenElement && document.fullscreenElement.id, window.dreelLocks]);
  check(full[0] === 'stage' && String(full[1]) === 'landscape', `full screen, and landscape asked for (${JSON.stringify(full)})`);
  await page.evaluate(() => document.exitFullscreen());
  await sleep(300);

  await page.tap('#cover');
  let view = null;
  for (const until = Date.now() + 20000; !(view && isLit(view)) && Date.now() < until;) view = await canvasView(page);
  check(isLit(view), 'phone: a tap starts the game');
  await checkFill(page, 'phone', 2, view, bmp);

  const cdp = await page.createCDPSession();
  const box = await page.evaluate(() => { const r = document.getElementById('canvas').getBoundingClientRect(); return [r.left, r.top, r.width, r.height]; });
  const at = (fx, fy) => [box[0] + fx * box[2], box[1] + fy * box[3]];
  const touch = (type, points) => cdp.send('Input.dispatchTouchEvent',
    { type, touchPoints: points.map(([x, y], id) => ({ x, y, id: id + 1, radiusX: 5, radiusY: 5, force: 1 })) });
  const left = at(0.25, 0.5), right = at(0.75, 0.5);
  const moved = ([x, y], dx, dy) => [x + dx, y + dy];
  // Each gesture: the fingers land, move 50 CSS pixels their way in one step, hold, lift.
  const gesture = async (fingers, ways, holdMs, end = 'touchEnd') => {
    await touch('touchStart', fingers);
    await sleep(200);
    await touch('touchMove', fingers.map((f, i) => moved(f, ...ways[i])));
    await sleep(holdMs);
    await touch(end, []);
    await sleep(400);
  };
  const touchesBefore = await page.evaluate(() => window.dreelTouches.length);
  await touch('touchStart', [left]);
  await sleep(200);
  await touch('touchMove', [moved(left, 50, 0)]);
  await sleep(300);
  const drawn = await page.evaluate(() => {
    const stage = document.getElementById('stage').getBoundingClientRect();
    const place = (id) => {
      const e = document.getElementById(id);
      const r = e.getBoundingClientRect();
      return { shown: getComputedStyle(e).display !== 'none', x: r.left + r.width / 2 - stage.left, y: r.top + r.height / 2 - stage.top };
    };
    return { base: place('move-stick'), knob: place('move-stick').shown && (() => {
      const k = document.querySelector('#move-stick .knob').getBoundingClientRect();
      return [k.left + k.width / 2 - stage.left, k.top + k.height / 2 - stage.top]; })(), aim: place('aim-stick').shown };
  });
  const stageAt = await page.evaluate(() => { const r = document.getElementById('stage').getBoundingClientRect(); return [r.left, r.top]; });
  const landed = [left[0] - stageAt[0], left[1] - stageAt[1]];
  check(drawn.base.shown && within([drawn.base.x, drawn.base.y], landed, 2) && drawn.knob && drawn.knob[0] > landed[0] + 20
        && Math.abs(drawn.knob[1] - landed[1]) < 2 && !drawn.aim,
        `the move stick is drawn where the thumb landed, its knob pulled right (${JSON.stringify(drawn)}, landed ${landed})`);
  // A mouse put to use hides the sticks, the finger still down.
  await page.mouse.move(box[0] + 10, box[1] + 10);
  await page.mouse.move(box[0] + 20, box[1] + 20);
  await sleep(300);
  const afterMouse = await page.evaluate(() => getComputedStyle(document.getElementById('move-stick')).display);
  check(afterMouse === 'none', `a mouse in use hides the sticks (${afterMouse})`);
  await sleep(400);
  await touch('touchEnd', []);
  await sleep(400);
  await gesture([right], [[0, -50]], 1000);
  await gesture([left, right], [[50, 0], [0, -50]], 1000);
  await gesture([left, right], [[0, 50], [-50, 0]], 600, 'touchCancel');
  await sleep(600);
  const shownAfter = await page.evaluate(() => [...document.querySelectorAll('.stick')].some((e) => e.style.display === 'block'));
  check(!shownAfter, 'no stick is drawn once the fingers are gone');
  await page.tap('#end');
  await page.waitForFunction('window.dreelEnded', { timeout: 10000 });

  const [recording, trace] = await page.evaluate(() =>
    [FS.readFile('/dreel.rec', { encoding: 'utf8' }), FS.readFile('/dreel.trace', { encoding: 'utf8' })]);
  const frames = recordedFrames(recording);
  const states = tracedStates(trace);
  // The runs of frames holding the same thing, as [first, last] frame numbers.
  const runs = (test) => frames.reduce((list, f, i) => {
    if (!test(f)) return list;
    const last = list[list.length - 1];
    if (last && last[1] === i) last[1] = i + 1; else list.push([i + 1, i + 1]);
    return list;
  }, []);
  const moveRuns = runs((f) => holdsKey(f, 32) && !holdsFire(f));
  const fireRuns = runs((f) => holdsFire(f) && (f[4] || '-') === '-');
  const bothRuns = runs((f) => holdsFire(f) && holdsKey(f, 32));
  const longest = (list) => list.reduce((a, r) => (r[1] - r[0] > a[1] - a[0] ? r : a), [0, -1]);
  const move = longest(moveRuns), fire = longest(fireRuns), both = longest(bothRuns);
  check(move[1] - move[0] >= 20 && states[move[1]].player[0] > states[move[0] - 1].player[0],
        `one finger dragged right on the left half holds D alone and moves the ball right (frames ${move}, `
        + `x ${move[0] ? states[move[0] - 1].player[0] : '?'} to ${move[1] >= 0 && states[move[1]] ? states[move[1]].player[0] : '?'})`);
  const angle = fire[1] > 0 ? states[fire[1]].player[4] : -1;
  check(fire[1] - fire[0] >= 20 && states[fire[1]].shotsFired > states[fire[0] - 1].shotsFired && Math.abs(angle - 2700) <= 2,
        `one finger held up on the right half aims up and fires (frames ${fire}, angle ${angle} tenths)`);
  check(both[1] - both[0] >= 20, `both at once: D and fire held together (frames ${both})`);
  const tail = frames.slice(-20);
  check(frames.slice(both[1]).some((f) => holdsKey(f, 17) || holdsKey(f, 31)) && tail.every(holdsNothing),
        'a cancelled touch releases all: the last frames hold no key and no button');
  checkReplay(recording, trace, work, 'the phone page');

  // From a touch to the picture of the first frame that read it: the one-step move of the
  // first gesture, and the first frame holding D.
  const touchAt = await page.evaluate((from) => window.dreelTouches[from], touchesBefore);
  const firstMoved = runs((f) => holdsKey(f, 32))[0][0];
  const shownAt = await page.evaluate((n) => (window.dreelDraws.find(([, f]) => f >= n - 1) || [NaN])[0], firstMoved);
  check(errors.length === 0, `phone: no console error${errors.length ? ': ' + errors.join(' | ') : ''}`);
  await page.close();
  return shownAt - touchAt;
}

// A browser without the Fullscreen API (an iPhone's): no full-screen button, no error.
async function phoneWithoutFullScreen(browser, url) {
  const { page, errors } = await openPage(browser, 2);
  await page.setViewport(phoneView);
  await page.evaluateOnNewDocument(() => {
    for (const name of ['requestFullscreen', 'webkitRequestFullscreen']) Element.prototype[name] = undefined;
    for (const name of ['fullscreenEnabled', 'webkitFullscreenEnabled']) Object.defineProperty(Document.prototype, name, { get: () => undefined });
  });
  await startGame(page, url, true);
  const hidden = await page.evaluate(() => getComputedStyle(document.getElementById('full')).display === 'none');
  check(hidden && errors.length === 0, `without the Fullscreen API: no button, the game starts, no error`
        + `${errors.length ? ': ' + errors.join(' | ') : ''}`);
  await page.close();
}

// A viewport at the ratio whose stage is the given size (the bar below it keeps its own
// height, which depends on the width only), or the usual one.
async function setView(page, { ratio, stage }) {
  if (!stage) return page.setViewport({ width: 1280, height: 800, deviceScaleFactor: ratio });
  await page.setViewport({ width: stage[0], height: stage[1] + 200, deviceScaleFactor: ratio });
  const bar = await page.evaluate(() => document.getElementById('bar').offsetHeight);
  return page.setViewport({ width: stage[0], height: stage[1] + bar, deviceScaleFactor: ratio });
}

// The picture at each of the views given, on one page: loaded at the first, the others
// set while the game runs (a page zoom, a resized window). Closed once all are seen.
async function pictureViews(browser, url, bmp, views) {
  const { page, errors } = await openPage(browser, views[0].ratio);
  await setView(page, views[0]);
  let { view } = await startGame(page, url);
  const name = ({ ratio, stage }) => `ratio ${ratio}${stage ? `, stage ${stage.join(' x ')}` : ''}`;
  for (const [i, v] of views.entries()) {
    const what = i === 0 ? name(v) : `${name(v)} (from ${name(views[i - 1])} while playing)`;
    if (i > 0) {
      await setView(page, v);
      // The canvas may be blank for a moment after the change: wait for a drawn frame.
      for (let look = 0; look < 20; ++look) {
        await sleep(300);
        view = await canvasView(page);
        if (isLit(view)) break;
      }
    }
    await checkFill(page, what, v.ratio, view, bmp);
  }
  check(errors.length === 0, `${views.map(name).join('; ')}: no console error`
        + `${errors.length ? ': ' + errors.join(' | ') : ''}`);
  await page.close();
}

// The player's store (IndexedDB at /dreel-store): mounted and loaded by the time the
// page is ready for the click, and a file saved there is read back after a reload.
async function checkStore(browser, url) {
  const { page, errors } = await openPage(browser, 1);
  await page.goto(url, { waitUntil: 'load' });
  await page.waitForFunction('window.dreelReady', { timeout: 60000 });
  const first = await page.evaluate(() => new Promise((resolve) => {
    const mounted = FS.lookupPath('/dreel-store').node.mount.type === IDBFS;
    FS.writeFile('/dreel-store/probe.txt', 'kept');
    FS.syncfs(false, (error) => resolve({ mounted, loaded: window.dreelStoreLoaded, saved: !error }));
  }));
  check(first.mounted && first.loaded && first.saved,
        `the browser store is mounted and loaded before the click, and saves (${JSON.stringify(first)})`);
  await page.reload({ waitUntil: 'load' });
  await page.waitForFunction('window.dreelReady', { timeout: 60000 });
  const kept = await page.evaluate(() => {
    try { return FS.readFile('/dreel-store/probe.txt', { encoding: 'utf8' }); } catch (e) { return String(e); }
  });
  check(kept === 'kept', `a file saved in the store is there after a reload (${kept})`);
  check(errors.length === 0, `the store: no console error${errors.length ? ': ' + errors.join(' | ') : ''}`);
  await page.close();
}

// A setting changed in the game is in the store after a reload, and the next start
// plays with it: '-' twice turns the volume down to 80 % and M mutes; after the reload
// the file says so, and M then unmutes at 80 % (from the defaults it would mute at 100 %).
async function checkSettingsKept(browser, url) {
  const { page, errors } = await openPage(browser, 1);
  // The volume and mute lines of the file in the page's store.
  const settings = () => page.evaluate(() => {
    let text = '';
    try { text = FS.readFile('/dreel-store/settings.txt', { encoding: 'utf8' }); } catch (e) { return String(e); }
    return (text.match(/^(volume|mute) = .*$/gm) || ['neither']).join(', ');
  });
  // Written at once, and saved into the store when its save has settled.
  const saved = (lines) => page.waitForFunction((wanted) => {
    let text = '';
    try { text = FS.readFile('/dreel-store/settings.txt', { encoding: 'utf8' }); } catch (e) { return false; }
    return wanted.every((line) => text.includes(`\n${line}\n`)) && !(Module.dreelStore || {}).busy;
  }, { timeout: 20000 }, lines).then(() => true, () => false);
  await startGame(page, url);
  for (const key of ['-', '-', 'm']) {
    await page.keyboard.press(key);
    await sleep(200);  // a person's pace: keys read together lose their order
  }
  check(await saved(['volume = 80', 'mute = yes']), `'-' twice and M are saved at once (${await settings()})`);
  await page.reload({ waitUntil: 'load' });
  await page.waitForFunction('window.dreelReady', { timeout: 60000 });
  const kept = await settings();
  check(kept === 'volume = 80, mute = yes', `the settings are kept over a reload (${kept})`);
  await page.click('#cover');
  await sleep(1000);
  await page.keyboard.press('m');
  check(await saved(['volume = 80', 'mute = no']), `the next start plays with them: M unmutes at 80 % (${await settings()})`);
  // Ended long before the ball can burst: the life in progress is counted and saved on the
  // way out, and the page still hears the end. The pointer, locked to the game, is freed first.
  await page.evaluate(() => document.exitPointerLock());
  await page.click('#end');
  const ended = await page.waitForFunction('window.dreelEnded', { timeout: 10000 }).then(() => true, () => false);
  const cover = await page.evaluate(() => document.getElementById('cover').textContent);
  check(ended && cover === 'Game over', `ended with a life in progress, the page shows the end (${ended}, ${cover})`);
  check(errors.length === 0, `the settings: no console error${errors.length ? ': ' + errors.join(' | ') : ''}`);
  await page.close();
}

// The game's own account: D held moved the ball right, the button raised the shot
// count, and the desktop replay of the recording writes the page's trace exactly.
// A recording's frames, each as its fields (f[3] the buttons, f[4] the keys), and a
// trace's states (states[n] after frame n).
const recordedFrames = (recording) => recording.split('\n').filter((l) => l && !l.startsWith('#')).map((l) => l.split(' '));
const tracedStates = (trace) => trace.trim().split('\n').map((l) => JSON.parse(l));
const holdsKey = (f, code) => (f[4] || '-').split(',').includes(String(code));
const holdsFire = (f) => (Number(f[3]) & 1) === 1;
const holdsNothing = (f) => Number(f[3]) === 0 && (f[4] || '-') === '-';

function checkRecording(recording, trace, work) {
  const inputs = recordedFrames(recording);
  const states = tracedStates(trace);
  const held = (test) => inputs.map((f, i) => (test(f) ? i + 1 : 0)).filter((n) => n);
  const dFrames = held((f) => holdsKey(f, 32));
  const fireFrames = held(holdsFire);
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
  checkReplay(recording, trace, work, 'the page');
}

// The page's recording, replayed by the desktop tool, gives the page's trace byte for byte.
function checkReplay(recording, trace, work, what) {
  fs.writeFileSync(path.join(work, 'web.rec'), recording);
  execFileSync(path.join(desktopBuild, 'tools/replay/dreel-replay'),
               ['--script', path.join(work, 'web.rec'), '--trace', path.join(work, 'desktop.trace')]);
  const replayed = fs.readFileSync(path.join(work, 'desktop.trace'), 'utf8');
  check(replayed === trace, `the desktop replay of ${what}'s recording gives its trace `
        + `(${trace.split('\n').length - 1} lines)`);
}

async function main() {
  const bmp = fs.readFileSync(path.join(desktopBuild, 'data/Background.bmp'));
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'dreel-web-test-'));
  const server = await serve(site, 0);
  const browser = await launchChromium(work);
  try {
    const url = `http://127.0.0.1:${server.address().port}/?stats&trace`;
    await checkStore(browser, url);
    await checkSettingsKept(browser, url);
    const m = await play(browser, url, bmp, work);
    // Wide stages (bars left and right) and a tall one (bars above and below).
    const views = [
      [{ ratio: 2 }, { ratio: 2, stage: [1600, 900] }, { ratio: 1, stage: [1600, 900] }],
      [{ ratio: 3 }, { ratio: 1.5 }, { ratio: 1, stage: [720, 900] }],
    ];
    for (const list of views) await pictureViews(browser, url, bmp, list);
    const touchLatency = await phone(browser, url, bmp, work);
    await phoneWithoutFullScreen(browser, url);
    const sizes = fs.readdirSync(site).map((f) => `${f} ${fs.statSync(path.join(site, f)).size}`);
    console.log(`bytes transferred (gzip): ${m.bytes}; files: ${sizes.join(', ')}`);
    console.log(`load to click-ready: ${Math.round(m.ready)} ms; load to first frame drawn: `
                + `${Math.round(m.firstFrame)} ms (the click made at once)`);
    console.log(`frames per second over 10 s: ${m.fps}; latest frame start ${m.late} ms after due`);
    console.log(`phone: from a touch to the picture of the first frame it moved: ${Math.round(touchLatency)} ms`);
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
