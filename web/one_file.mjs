// one_file.mjs PAGE_DIR OUTPUT PROGRAM=SCRIPT...: writes the page of PAGE_DIR (index.html with
// page.css and page.js) as one self-contained file, OUTPUT, that plays when opened from disk:
// the style and the script go inline, and each program's classic script (its WebAssembly inside,
// its factory left in a global) goes inline at the end of the body, so the start panel shows
// before the programs are parsed. The page's module script runs after the whole document, when
// every factory is defined.
import { mkdir, readFile, rename, writeFile } from 'node:fs/promises';
import { dirname, join } from 'node:path';

const [pageDir, output, ...programs] = process.argv.slice(2);
if (!pageDir || !output || programs.length === 0 || programs.some((p) => !p.includes('='))) {
  console.error('usage: one_file.mjs PAGE_DIR OUTPUT PROGRAM=SCRIPT...');
  process.exit(2);
}

const read = (file) => readFile(file, 'utf8');

// Text placed inside an element must not end it early.
function inline(tag, text, what) {
  if (text.toLowerCase().includes(`</${tag}`)) throw new Error(`${what} holds "</${tag}" and cannot go inline`);
  return text;
}

// Replaces the one occurrence of `from` in the page; a page whose markup changed fails loudly.
function replaceOnce(page, from, to) {
  const at = page.indexOf(from);
  if (at < 0 || page.indexOf(from, at + 1) >= 0) throw new Error(`index.html must hold ${from} exactly once`);
  return page.slice(0, at) + to + page.slice(at + from.length);
}

let page = await read(join(pageDir, 'index.html'));
const style = inline('style', await read(join(pageDir, 'page.css')), 'page.css');
const script = inline('script', await read(join(pageDir, 'page.js')), 'page.js');
page = replaceOnce(page, '<link rel="stylesheet" href="page.css">', `<style>\n${style}</style>`);
page = replaceOnce(page, '<script type="module" src="page.js"></script>', `<script type="module">\n${script}</script>`);
let factories = '';
for (const entry of programs) {
  const [name, file] = entry.split('=', 2);
  factories += `<script data-program="${name}">\n${inline('script', await read(file), file)}</script>\n`;
}
page = replaceOnce(page, '</body>', `${factories}</body>`);

// Written beside and renamed, so an interrupted build leaves no half page behind.
await mkdir(dirname(output), { recursive: true });
await writeFile(`${output}.part`, page);
await rename(`${output}.part`, output);
