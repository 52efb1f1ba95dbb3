// one_file.mjs PAGE_DIR OUTPUT PROGRAM...: writes the page of PAGE_DIR (index.html with page.css,
// page.js and each PROGRAM's .js and .wasm, as make web leaves them) as one self-contained file,
// OUTPUT, that plays when opened from disk, where browsers refuse to fetch or import anything.
// Everything goes inline: the style; each program's module script, whose factory becomes a
// global named after the program (dashes as underscores) instead of its default export; each
// program's WebAssembly in base64, in a data block with the .wasm file's name as its id; and the
// page's own script after them. Module scripts run in document order once the whole page is
// parsed, so the start panel shows before any of them runs and every factory is defined when
// the page's script starts.
import { mkdir, readFile, rename, writeFile } from 'node:fs/promises';
import { dirname, join } from 'node:path';

const [pageDir, output, ...programs] = process.argv.slice(2);
if (!pageDir || !output || programs.length === 0) {
  console.error('usage: one_file.mjs PAGE_DIR OUTPUT PROGRAM...');
  process.exit(2);
}

const read = (file) => readFile(join(pageDir, file), 'utf8');

// Text placed inside an element must not end it early.
function inline(tag, text, what) {
  if (text.toLowerCase().includes(`</${tag}`)) throw new Error(`${what} holds "</${tag}" and cannot go inline`);
  return text;
}

// Replaces the one occurrence of `from` in `text`; a text whose shape changed fails loudly.
function replaceOnce(text, from, to, what) {
  const at = text.indexOf(from);
  if (at < 0 || text.indexOf(from, at + 1) >= 0) throw new Error(`${what} must hold ${from} exactly once`);
  return text.slice(0, at) + to + text.slice(at + from.length);
}

let page = await read('index.html');
const style = inline('style', await read('page.css'), 'page.css');
page = replaceOnce(page, '<link rel="stylesheet" href="page.css">', `<style>\n${style}</style>`, 'index.html');
page = replaceOnce(page, '<script type="module" src="page.js"></script>', '', 'index.html');
let scripts = '';
for (const program of programs) {
  const global = program.replaceAll('-', '_');
  const factory = replaceOnce(await read(`${program}.js`), 'export default Module;',
    `window.${global} = Module;`, `${program}.js`);
  const wasm = (await readFile(join(pageDir, `${program}.wasm`))).toString('base64');
  scripts += `<script type="module" data-program="${program}">\n${inline('script', factory, `${program}.js`)}</script>\n` +
    `<script type="application/wasm" id="${program}.wasm">${wasm}</script>\n`;
}
scripts += `<script type="module">\n${inline('script', await read('page.js'), 'page.js')}</script>\n`;
page = replaceOnce(page, '</body>', `${scripts}</body>`, 'index.html');

// Written beside and renamed, so an interrupted build leaves no half page behind.
await mkdir(dirname(output), { recursive: true });
await writeFile(`${output}.part`, page);
await rename(`${output}.part`, output);
