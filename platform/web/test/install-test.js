// The page as an installed game, played offline: the built site served from 127.0.0.1 to
// headless Chromium, as a visitor would meet it over a few visits.
//   1. First visit: the game starts; the service worker takes the page over and caches
//      every file the page asked for; the browser finds the page installable; the
//      manifest says what it should and its icons are PNGs of the sizes it names.
//   2. Second visit, same build: the server is asked for the page alone.
//   3. The server stopped: the page reloads, the game starts and draws, and a file
//      never cached cannot be fetched (it could, as a 404, before).
//   4. A second build (a copy of the site stamped with another id) on the same port,
//      while the offline game still plays: a new window runs the new build on its
//      first load, with its own files; within that visit the new worker takes over and
//      only its cache is left; the old game plays on; one reload of its tab gives the
//      new build too.
//   5. In a browser without service workers the page plays all the same.
// No console error anywhere, the workers' included. Prints the time from loading to the
// first frame (first visit and offline) and the bytes of the second visit. The visitor
// holds a phone sideways: touch and a mobile page, taps rather than clicks.
// Usage: node install-test.js SITE (run.sh sets NODE_PATH).
'use strict';
const fs = require('fs');
const os = require('os');
const net = require('net');
const path = require('path');
const http = require('http');
const { serve } = require('../serve.js');
const { stamp } = require('../stamp.js');
const { launchChromium, phoneView, watchDraws } = require('./chromium.js');

const site = path.resolve(process.argv[2]);
const failures = [];
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
// Asked for by the page to show that it is offline; its failure is no fault.
const PROBE = 'never-cached.txt';

function check(ok, what) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failures.push(what);
}

// A file from the server as it is (no gzip asked for), with its headers.
const get = (url) => new Promise((resolve, reject) => {
  http.get(url, (response) => {
    const chunks = [];
    response.on('data', (c) => chunks.push(c));
    response.on('end', () => resolve({ status: response.statusCode, headers: response.headers,
                                       body: Buffer.concat(chunks) }));
  }).on('error', reject);
});

// The width and height a PNG's header gives, or null for anything else.
function pngSize(bytes) {
  const signature = Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]);
  if (bytes.length < 24 || !bytes.subarray(0, 8).equals(signature)
      || bytes.toString('latin1', 12, 16) !== 'IHDR') return null;
  return [bytes.readUInt32BE(16), bytes.readUInt32BE(20)];
}

// Whether anything answers on the port.
const answers = (port) => new Promise((resolve) => {
  const socket = net.connect(port, '127.0.0.1');
  socket.on('connect', () => { socket.destroy(); resolve(true); });
  socket.on('error', () => resolve(false));
});

// Stopped for good: no new connection, and the browser's open ones cut.
const stop = (server) => new Promise((resolve) => {
  server.close(resolve);
  server.closeAllConnections();
});

// The console errors of every page and every service worker, but the probe's.
const errors = [];
function noteError(text, url) {
  if (!(url || '').includes(PROBE)) errors.push(text + (url ? ` (${url})` : ''));
}

// The service workers' own console, exceptions and network (the fetches a worker makes
// for a page are the page's real transfer; the page sees its answers as from the worker).
const workerBytes = { total: 0 };
async function watchWorker(target) {
  const session = await target.createCDPSession();
  session.on('Runtime.consoleAPICalled', (e) => {
    if (e.type === 'error') noteError(`worker: ${e.args.map((a) => a.value ?? a.description).join(' ')}`);
  });
  session.on('Runtime.exceptionThrown', (e) => noteError(`worker: ${e.exceptionDetails.exception?.description
                                                         ?? e.exceptionDetails.text}`));
  session.on('Log.entryAdded', ({ entry }) => {
    if (entry.level === 'error') noteError(`worker: ${entry.text}`, entry.url);
  });
  session.on('Network.loadingFinished', (e) => { workerBytes.total += e.encodedDataLength; });
  await Promise.all(['Runtime.enable', 'Log.enable', 'Network.enable'].map((m) => session.send(m)));
}

// A tab with its errors noted, its first drawing timed (every 2-D and WebGL draw call
// watched from the start, as the browser test does) and its network followed: the
// requests, their answers, and the bytes that came from the network rather than from
// the worker.
async function openTab(browser, options) {
  const page = await browser.newPage(options);
  // A phone held sideways, where an installed game is mostly played (touch, mobile).
  await page.setViewport(phoneView);
  page.on('console', (m) => { if (m.type() === 'error') noteError(m.text(), m.location().url); });
  page.on('pageerror', (e) => noteError(String(e)));
  await watchDraws(page);
  const cdp = await page.createCDPSession();
  await cdp.send('Network.enable');
  const traffic = { requests: new Map(), bytes: 0 };
  cdp.on('Network.requestWillBeSent', (e) => traffic.requests.set(e.requestId, { url: e.request.url }));
  cdp.on('Network.responseReceived', (e) => {
    Object.assign(traffic.requests.get(e.requestId) || {}, { status: e.response.status,
                                                         fromWorker: e.response.fromServiceWorker });
  });
  cdp.on('Network.loadingFinished', (e) => {
    const request = traffic.requests.get(e.requestId);
    if (request && !request.fromWorker) traffic.bytes += e.encodedDataLength;
  });
  cdp.on('Network.loadingFailed', (e) => {
    Object.assign(traffic.requests.get(e.requestId) || {}, { failed: e.errorText });
  });
  return { page, cdp, net: traffic };
}

// Loads (or reloads) the page, clicks as soon as it is ready and waits for the first
// drawing: the time from loading to it, in the page's clock.
async function loadAndStart(page, url) {
  if (url) await page.goto(url, { waitUntil: 'load' });
  else await page.reload({ waitUntil: 'load' });
  await page.waitForFunction('window.dreelReady', { timeout: 60000 });
  await page.tap('#cover');
  await page.waitForFunction('window.dreelFirstDraw !== undefined', { timeout: 20000 });
  return page.evaluate(() => window.dreelFirstDraw);
}

// The game runs: frame reports keep coming (?stats) and the display canvas is lit.
async function playing(page, what) {
  const reports = () => page.evaluate(() => (window.dreelFrameReports || []).length);
  const before = await reports();
  let after = before;
  for (const until = Date.now() + 10000; after < before + 2 && Date.now() < until;) {
    await sleep(250);
    after = await reports();
  }
  const lit = await page.evaluate(() => {
    const display = document.getElementById('display');
    const d = display.getContext('2d').getImageData(0, 0, display.width, display.height).data;
    let count = 0;
    for (let i = 0; i < d.length; i += 4 * 97) count += d[i] + d[i + 1] + d[i + 2] > 30;
    return count / Math.ceil(d.length / (4 * 97));
  });
  check(after >= before + 2 && lit > 0.5, `${what}: frames come (${after - before} reports of 50 frames `
        + `while watched) and the canvas shows a picture (${Math.round(lit * 100)} % of it lit)`);
}

const cacheKeys = (page) => page.evaluate(() => caches.keys());
const probe = (page) => page.evaluate((name) => fetch(name).then((r) => `answered ${r.status}`,
                                                                   (e) => `failed (${e.message})`), PROBE);

async function main() {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'dreel-install-test-'));
  const buildOf = (folder) => /const BUILD = '([^']*)';/.exec(fs.readFileSync(path.join(folder, 'sw.js'), 'utf8'))[1];
  const build = buildOf(site);
  let server = await serve(site, 0);
  const port = server.address().port;
  const origin = `http://127.0.0.1:${port}`;
  const url = `${origin}/?stats&trace`;
  const browser = await launchChromium(work);
  browser.on('targetcreated', (target) => {
    if (target.type() === 'service_worker') watchWorker(target).catch((e) => noteError(`watching a worker: ${e}`));
  });
  const figures = {};
  let stage = 'the first visit';
  try {
    // 1. The first visit.
    server.answered.length = 0;
    const first = await openTab(browser);
    figures.firstFrame = await loadAndStart(first.page, url);
    await playing(first.page, 'first visit');
    check(await first.page.evaluate(() => window.dreelBuild) === build, `the page runs build ${build}`);
    const controlled = await first.page.waitForFunction('navigator.serviceWorker.controller', { timeout: 60000 })
      .then(() => true, () => false);
    check(controlled, 'the service worker takes the page over on the first visit');
    const cached = await first.page.evaluate(async () => {
      const names = await caches.keys();
      return Promise.all(names.map(async (name) => [name, (await (await caches.open(name)).keys()).map((r) => r.url)]));
    });
    const cachedUrls = new Set(cached.flatMap(([, urls]) => urls));
    // Every file the page itself asked for (the page's own URL is kept without its query).
    const asked = [...first.net.requests.values()].map((r) => r.url.replace(/\/\?.*$/, '/'))
      .filter((u) => u.startsWith(origin) && !u.endsWith('/sw.js'));
    const missing = asked.filter((u) => !cachedUrls.has(u));
    check(cached.length === 1 && cached[0][0] === `dreel-${build}` && asked.length >= 5 && missing.length === 0,
          `one cache, dreel-${build}, holding all ${asked.length} files the page asked for`
          + `${missing.length ? ` (missing: ${missing.join(', ')})` : ''}; it holds: `
          + `${[...cachedUrls].map((u) => u.slice(origin.length)).join(' ')}`);
    const installable = await first.cdp.send('Page.getInstallabilityErrors');
    check(installable.installabilityErrors.length === 0, `the browser finds the page installable`
          + ` (${JSON.stringify(installable.installabilityErrors)})`);
    figures.firstBytes = [server.answered.reduce((sum, a) => sum + a.bytes, 0), first.net.bytes];
    // The worker copies the game's files from the browser's HTTP cache: each is downloaded once.
    for (const name of ['dreel.js', 'dreel.wasm', 'dreel.data']) {
      const times = server.answered.filter((a) => a.url === `/${name}?build=${build}`).length;
      check(times === 1, `the first visit downloads ${name} once (${times} time${times === 1 ? '' : 's'})`);
    }

    // The manifest as the browser read it, its type as served and its icons' real sizes.
    const manifest = await first.cdp.send('Page.getAppManifest');
    check(manifest.url === `${origin}/manifest.webmanifest` && manifest.errors.length === 0,
          `the page links its manifest, read without an error (${manifest.url}; ${JSON.stringify(manifest.errors)})`);
    const served = await get(`${origin}/manifest.webmanifest`);
    check(served.headers['content-type'] === 'application/manifest+json',
          `the manifest is served as ${served.headers['content-type']}`);
    const fields = JSON.parse(manifest.data);
    const themeMeta = await first.page.$eval('meta[name="theme-color"]', (m) => m.content);
    const expected = [
      ['name', 'Dreel'], ['short_name', 'Dreel'], ['start_url', './'], ['scope', './'],
      ['display', 'fullscreen'], ['orientation', 'landscape'],
      ['background_color', '#111111'], ['theme_color', themeMeta],
    ];
    for (const [field, value] of expected) {
      check(fields[field] === value, `manifest: ${field} is ${JSON.stringify(fields[field])} (${JSON.stringify(value)})`);
    }
    const sides = [];
    for (const icon of fields.icons || []) {
      const file = await get(new URL(icon.src, manifest.url).href);
      const size = pngSize(file.body);
      const named = /^(\d+)x(\d+)$/.exec(icon.sizes || '');
      check(file.status === 200 && icon.type === 'image/png' && size && named
            && size[0] === Number(named[1]) && size[1] === Number(named[2]),
            `manifest icon ${icon.src}: ${icon.type}, ${icon.sizes}, a PNG of ${size ? size.join(' x ') : 'no size'}`);
      if (size) sides.push(size.join('x'));
    }
    check(['192x192', '512x512'].every((s) => sides.includes(s)), `the icons include 192 and 512 px (${sides.join(', ')})`);
    const before = await probe(first.page);
    check(before === 'answered 404', `online, a file never cached is asked of the server (${before})`);
    await first.page.close();

    // 2. The second visit, same build.
    stage = 'the second visit';
    const second = await openTab(browser);
    server.answered.length = 0;
    workerBytes.total = 0;
    await second.page.goto(url, { waitUntil: 'load' });
    await second.page.waitForFunction('window.dreelReady', { timeout: 60000 });
    await sleep(1000);  // anything late would show
    // The page's requests the worker answered count as none from the network, as CDP
    // reports them; the page itself the worker fetched, which its own target shows.
    const byWorker = [...second.net.requests.values()].filter((r) => r.fromWorker).length;
    figures.secondBytes = [server.answered.reduce((sum, a) => sum + a.bytes, 0),
                           second.net.bytes + workerBytes.total, byWorker, second.net.requests.size];
    const fromServer = server.answered.map((a) => `${a.url} ${a.bytes}`);
    // The browser may check the worker's script for a new build, too: that is all else.
    const pageOnly = server.answered.some((a) => a.url === '/?stats&trace')
      && server.answered.every((a) => a.url === '/?stats&trace' || a.url === '/sw.js');
    check(pageOnly, `the second visit asks the server for the page only (${fromServer.join(', ')})`);

    // 3. Offline: the server stopped.
    stage = 'offline';
    await stop(server);
    check(!(await answers(port)), `the server is stopped: nothing answers on port ${port}`);
    figures.offlineFrame = await loadAndStart(second.page);
    await playing(second.page, 'offline');
    const after = await probe(second.page);
    check(after.startsWith('failed'), `offline, a file never cached cannot be fetched: ${after}`);

    // 4. A second build on the same port while the offline game plays on.
    stage = 'the second build';
    const site2 = path.join(work, 'site2');
    fs.cpSync(site, site2, { recursive: true });
    const build2 = `${build}-second`;
    stamp(site2, build2);
    server = await serve(site2, port);
    // In a window of its own, as a tab out of sight would be paused by the browser.
    const oldReports = await second.page.evaluate(() => window.dreelFrameReports.length);
    const third = await openTab(browser, { type: 'window' });
    const started = Date.now();
    await third.page.goto(url, { waitUntil: 'load' });
    await third.page.waitForFunction('window.dreelReady', { timeout: 60000 });
    check(await third.page.evaluate(() => window.dreelBuild) === build2, 'a new window runs the new build on its first load');
    const files = [...third.net.requests.values()].filter((r) => /\/dreel\.(js|wasm|data)\?/.test(r.url));
    check(files.length === 3 && files.every((r) => r.url.endsWith(`?build=${build2}`) && r.status === 200 && !r.failed),
          `it loads its own files: ${files.map((r) => `${r.url.slice(origin.length)} ${r.status}`
                                                  + `${r.fromWorker ? ' (through the worker)' : ''}${r.failed ? ` ${r.failed}` : ''}`).join(', ')}`);
    let keys = await cacheKeys(third.page);
    while (!(keys.length === 1 && keys[0] === `dreel-${build2}`) && Date.now() < started + 60000) {
      await sleep(250);
      keys = await cacheKeys(third.page);
    }
    check(keys.length === 1 && keys[0] === `dreel-${build2}`,
          `the new worker takes over and only its cache is left (${keys.join(', ')}, `
          + `${((Date.now() - started) / 1000).toFixed(1)} s after the new window opened)`);
    const duringSwitch = await second.page.evaluate(() => window.dreelFrameReports.length) - oldReports;
    check(duringSwitch > 0, `the old build's game played on meanwhile (${duringSwitch} reports of 50 frames)`);
    await playing(second.page, `the old build's game, its files' cache gone`);
    await third.page.tap('#cover');
    await playing(third.page, 'the new build');
    await second.page.reload({ waitUntil: 'load' });
    await second.page.waitForFunction('window.dreelReady', { timeout: 60000 });
    check(await second.page.evaluate(() => window.dreelBuild) === build2, 'one reload of the old tab runs the new build');

    // 5. A browser without service workers (a profile of its own, nothing registered).
    stage = 'without a service worker';
    const context = await browser.createBrowserContext();
    const bare = await openTab(context);
    await bare.page.evaluateOnNewDocument(() => { delete Navigator.prototype.serviceWorker; });
    await loadAndStart(bare.page, url);
    await playing(bare.page, 'in a browser without service workers');
    await context.close();
  } catch (e) {
    // A step that cannot finish (a page that never gets ready) ends the test as a failure.
    check(false, `${stage}: ${e.message}`);
  } finally {
    await browser.close();
    await stop(server);
    fs.rmSync(work, { recursive: true, force: true });
  }
  check(errors.length === 0, `no console error in the pages or the workers${errors.length ? ': ' + errors.join(' | ') : ''}`);
  // Measured, not judged: a busy machine makes them anything.
  const ms = (t) => (t === undefined ? 'not measured' : `${Math.round(t)} ms`);
  console.log(`first visit: load to first frame drawn ${ms(figures.firstFrame)} (the click made at once)`
              + `${figures.firstBytes ? `; the server sent ${figures.firstBytes[0]} bytes, of which the page's `
                + `own requests ${figures.firstBytes[1]} (CDP), the rest the worker's` : ''}`);
  if (figures.secondBytes) {
    console.log(`second visit, same build: ${figures.secondBytes[0]} bytes sent by the server, the page; `
                + `${figures.secondBytes[1]} from the network by CDP (the page, fetched by the worker), `
                + `${figures.secondBytes[2]} of the page's ${figures.secondBytes[3]} requests answered by the worker`);
  }
  console.log(`offline: load to first frame drawn ${ms(figures.offlineFrame)}`);
  if (failures.length) {
    console.error(`install test: ${failures.length} failed`);
    process.exit(1);
  }
  console.log('install test: all passed');
}

main().catch((e) => { console.error(e); process.exit(1); });
