// page_with_facts.mjs PAGE FACTS OUTPUT: writes PAGE with the party's facts (FACTS, the HTML
// fragment invitation_facts makes from the program's texts) in place of its one
// "<!-- party facts -->" mark, so the page never types a fact a second time.
import { readFile, rename, writeFile } from 'node:fs/promises';

const [pagePath, factsPath, output] = process.argv.slice(2);
if (!output) {
  console.error('usage: page_with_facts.mjs PAGE FACTS OUTPUT');
  process.exit(2);
}
const mark = '<!-- party facts -->';
const page = await readFile(pagePath, 'utf8');
const at = page.indexOf(mark);
if (at < 0 || page.indexOf(mark, at + 1) >= 0) throw new Error(`${pagePath} must hold ${mark} exactly once`);
const facts = (await readFile(factsPath, 'utf8')).trimEnd();
await writeFile(`${output}.part`, page.slice(0, at) + facts + page.slice(at + mark.length));
await rename(`${output}.part`, output);
