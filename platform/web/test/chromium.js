// What the browser and install tests share: Debian's Chromium, headless, with a profile
// of its own; the phone they emulate; and the draw watcher that times the pictures.
'use strict';
const path = require('path');
const puppeteer = require('puppeteer-core');

// Headless Chromium (DREEL_CHROMIUM, or Debian's) with its profile in the folder `work`.
function launchChromium(work) {
  return puppeteer.launch({
    executablePath: process.env.DREEL_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: path.join(work, 'profile'),
    defaultViewport: { width: 1280, height: 800 },
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
}

// A phone held sideways, set before the page loads: 915 x 412 CSS pixels at ratio 2,
// touch, mobile.
const phoneView = { width: 915, height: 412, deviceScaleFactor: 2, isMobile: true, hasTouch: true, isLandscape: true };

// The pictures drawn on a page's canvases, timed in the page from its start: every 2-D and
// WebGL draw call is watched. window.dreelFirstDraw is the first one's time, and
// window.dreelDraws each one's with the frames the game had played by then (a picture
// shown during frame N reads N - 1).

function watchDraws(page) {
  return page.evaluateOnNewDocument(() => {
    window.dreelDraws = [];
    const getContext = HTMLCanvasElement.prototype.getContext;
    HTMLCanvasElement.prototype.getContext = function (...args) {
      const context = getContext.apply(this, args);
      for (const name of ['drawArrays', 'drawElements', 'putImageData']) {
        const draw = context && context[name];
        if (!draw || draw.watched) continue;
        const watched = function (...a) {
          const now = performance.now();
          if (window.dreelFirstDraw === undefined) window.dreelFirstDraw = now;
          if (window.Module && Module._DreelWebFrame) window.dreelDraws.push([now, Module._DreelWebFrame()]);
          return draw.apply(this, a);
        };
        watched.watched = true;
        context[name] = watched;
      }
      return context;
    };
  });
}

module.exports = { launchChromium, phoneView, watchDraws };
