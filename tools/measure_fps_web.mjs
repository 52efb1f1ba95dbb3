// measure_fps_web.mjs PROGRAM [WIDTHxHEIGHT]: a measurement, not a test. Runs PROGRAM
// (vexal25-herald or vexal25-herald-drawable) from build/web for its whole 114 s in headless
// Chromium and prints the frames per second of each act, counted from its console lines, as
// tools/measure_fps.sh does for the native programs. WIDTHxHEIGHT is the canvas size (default
// 640x400). Needs make web, the browser tests' packages (web/node_modules) and the acts from
// the native test build's timeline_moments (make build-web builds it).
import {
  barHeight, chooseAndStart, framesPerAct, launch, openDemo, programs, timelineActs, waitForEnd,
} from '../tests/web/harness.mjs';

const program = process.argv[2];
const [width, height] = (process.argv[3] ?? '640x400').split('x').map(Number);
if (!programs.includes(program) || !(width > 0 && height > 0)) {
  console.error('usage: measure_fps_web.mjs vexal25-herald|vexal25-herald-drawable [WIDTHxHEIGHT]');
  process.exit(2);
}

const browser = await launch();
try {
  const { page } = await openDemo(browser, { width, height: height + barHeight });
  await chooseAndStart(page, program);
  await waitForEnd(page, 200000);
  const times = await page.evaluate(() => window.__herald.lines.map((line) => line.t));
  console.log(`${program} in headless Chromium, canvas ${width}x${height}`);
  console.log(`${'act'.padEnd(24)} ${'seconds'.padStart(10)} ${'frames'.padStart(10)} ${'fps'.padStart(10)}`);
  for (const act of [...framesPerAct(times, await timelineActs()), { name: 'whole run', from: 0, to: times.at(-1), frames: times.length }]) {
    const fps = act.frames / (act.to - act.from);
    console.log(`${act.name.padEnd(24)} ${`${act.from}-${act.to}`.padStart(10)} ${String(act.frames).padStart(10)} ${fps.toFixed(1).padStart(10)}`);
  }
} finally {
  await browser.close();
}
