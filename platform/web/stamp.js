// Stamps a built site with its build's id: the page's loader tag and constant and the
// service worker's (sw.js), so that each build's files are asked for, and cached, under
// names of their own. A stamped site can be stamped again with another id (the install
// test makes a second build so). An id is letters, digits, '.', '_' and '-', as it goes
// into a URL's query and a JavaScript string unescaped.
// Usage: node stamp.js SITE BUILD_ID; or require it and call stamp(site, id).
'use strict';
const fs = require('fs');
const path = require('path');

const validId = (id) => /^[A-Za-z0-9._-]{1,80}$/.test(id || '');

function stamp(site, id) {
  if (!validId(id)) throw new Error(`not a build id: '${id}'`);
  const edits = {
    'index.html': [[/src="dreel\.js(\?build=[^"]*)?"/g, `src="dreel.js?build=${id}"`],
                   [/const DREEL_BUILD = '[^']*';/g, `const DREEL_BUILD = '${id}';`]],
    'sw.js': [[/const BUILD = '[^']*';/g, `const BUILD = '${id}';`]],
  };
  // Every place found exactly once, or nothing written: a page and a worker of different
  // builds would each ask for files the other never caches.
  const stamped = Object.entries(edits).map(([name, changes]) => {
    let text = fs.readFileSync(path.join(site, name), 'utf8');
    for (const [pattern, to] of changes) {
      const found = (text.match(pattern) || []).length;
      if (found !== 1) throw new Error(`${name}: ${pattern} found ${found} times, not once`);
      text = text.replace(pattern, to);
    }
    return [name, text];
  });
  for (const [name, text] of stamped) fs.writeFileSync(path.join(site, name), text);
}

module.exports = { stamp };

if (require.main === module) {
  const [site, id] = process.argv.slice(2);
  try {
    stamp(site, id);
  } catch (e) {
    console.error(`stamp.js: ${e.message}\nusage: node stamp.js SITE BUILD_ID`);
    process.exit(1);
  }
}
