// measure_start_web.mjs PROGRAM [served|file] [RUNS]: a measurement, not a test. Opens the page
// in headless Chromium RUNS times (5 by default), each in a fresh browser context, clicks Start
// and prints the time from the click to the first console line (the first frame), then the
// median. served (the default) is make web's folder over http; file is the one-file page opened
// from disk. Needs make build-web, and runs in the browser tests' environment:
//   env $(make -s web-tests-env) node bench/measure_start_web.mjs PROGRAM
import { chooseAndStart, launch, oneFilePage, openDemo, programs, waitForTime } from '../tests/web/harness.mjs';

const program = process.argv[2];
const packaging = process.argv[3] ?? 'served';
const runs = Number(process.argv[4] ?? 5);
if (!programs.includes(program) || !['served', 'file'].includes(packaging) || !(runs > 0)) {
  console.error(`usage: measure_start_web.mjs ${programs.join('|')} [served|file] [RUNS]`);
  process.exit(2);
}

const browser = await launch();
try {
  const delays = [];
  for (let k = 0; k < runs; ++k) {
    const { page, context } = await openDemo(browser, { file: packaging === 'file' ? oneFilePage : null });
    // The served page compiles its program before the click; a visitor reads the panel first.
    await page.waitForLoadState('load');
    await page.waitForTimeout(1000);
    await chooseAndStart(page, program);
    await waitForTime(page, 0.001);
    delays.push(await page.evaluate(() => window.__herald.lines[0].at - window.__herald.clickAt));
    await page.keyboard.press('Escape');
    await context.close();
  }
  const sorted = [...delays].sort((a, b) => a - b);
  const median = sorted[Math.floor(sorted.length / 2)];
  console.log(`${program}, ${packaging} page: click to first frame ${delays.map((d) => d.toFixed(0)).join(', ')} ms; ` +
    `median ${median.toFixed(0)} ms`);
} finally {
  await browser.close();
}
