// serve.mjs FOLDER [PORT]: serves the built page (make serve-web names make web's) on 127.0.0.1 and
// prints its address. A static server is all the demo needs: any web server that sends .wasm
// files will do for a party's site; this one is for trying it on this machine and for the
// browser tests, which start it on a free port of their own.
import { createReadStream, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { extname, join, normalize, resolve, sep } from 'node:path';
import { fileURLToPath } from 'node:url';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.ico': 'image/x-icon',
};

// Starts serving FOLDER on 127.0.0.1 (port 0: any free one); resolves to { server, url }.
export function serve(folder, port = 0) {
  const root = resolve(folder);
  const server = createServer((request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    const file = normalize(join(root, path.endsWith('/') ? `${path}index.html` : path));
    let size = -1;
    try {
      if (file === root || file.startsWith(root + sep)) {
        const stat = statSync(file);
        if (stat.isFile()) size = stat.size;
      }
    } catch {
      size = -1;
    }
    if (request.method !== 'GET' && request.method !== 'HEAD') {
      response.writeHead(405, { Allow: 'GET, HEAD' }).end();
    } else if (size < 0) {
      response.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found\n');
    } else {
      response.writeHead(200, {
        'Content-Type': types[extname(file)] ?? 'application/octet-stream',
        'Content-Length': size,
        'Cache-Control': 'no-cache',
      });
      if (request.method === 'HEAD') response.end();
      else createReadStream(file).pipe(response);
    }
  });
  return new Promise((done, failed) => {
    server.once('error', failed);
    server.listen(port, '127.0.0.1', () => done({ server, url: `http://127.0.0.1:${server.address().port}/` }));
  });
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const folder = process.argv[2];
  if (!folder) {
    console.error('usage: serve.mjs FOLDER [PORT]');
    process.exit(2);
  }
  const port = Number(process.argv[3] ?? 8025);
  try {
    statSync(join(folder, 'index.html'));
  } catch {
    console.error(`serve.mjs: no ${join(folder, 'index.html')}; build it first with make web`);
    process.exit(2);
  }
  const { url } = await serve(folder, port);
  console.log(`Serving ${folder} at ${url} (Ctrl-C stops it)`);
}
