// A small static server for the built site on 127.0.0.1, compressing with gzip as a
// real host would (so the page's transfer size can be measured), with the types a
// browser insists on (application/wasm for streaming compilation, the manifest's own).
// Usage: node serve.js FOLDER [PORT]; or require it and call serve(folder, port): the
// server it gives notes each request answered in server.answered ({ url, status, bytes },
// the bytes of the body as sent).
'use strict';
const http = require('http');
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');

const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
  '.data': 'application/octet-stream', '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
};

function serve(folder, port) {
  const root = path.resolve(folder);
  const answered = [];
  const server = http.createServer((request, response) => {
    const send = (status, headers, body) => {
      answered.push({ url: request.url, status, bytes: body.length });
      response.writeHead(status, headers).end(body);
    };
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const file = path.join(root, name.endsWith('/') ? name + 'index.html' : name);
    // Nothing outside the folder, whatever the request says.
    if (!file.startsWith(root + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      send(404, {}, Buffer.from('not found'));
      return;
    }
    const headers = { 'Content-Type': types[path.extname(file)] || 'application/octet-stream',
                      'Cache-Control': 'no-cache' };
    const body = fs.readFileSync(file);
    if (/\bgzip\b/.test(request.headers['accept-encoding'] || '')) {
      headers['Content-Encoding'] = 'gzip';
      send(200, headers, zlib.gzipSync(body, { level: 9 }));
    } else {
      send(200, headers, body);
    }
  });
  server.answered = answered;
  return new Promise((resolve) => server.listen(port, '127.0.0.1', () => resolve(server)));
}

module.exports = { serve };

if (require.main === module) {
  const [folder, port] = process.argv.slice(2);
  serve(folder, Number(port || 8000)).then((server) => {
    console.log(`serving ${folder} on http://127.0.0.1:${server.address().port}/ (Ctrl+C ends)`);
  });
}
