// The pictures drawn on a page's canvases, timed in the page from its start: every 2-D and
// WebGL draw call is watched. window.dreelFirstDraw is the first one's time, and
// window.dreelDraws each one's with the frames the game had played by then (a picture
// shown during frame N reads N - 1). Shared by the browser and install tests.
'use strict';

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

module.exports = { watchDraws };
