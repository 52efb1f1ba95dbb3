// measure_fps_web.mjs PROGRAM [WIDTHxHEIGHT]: a measurement, not a test. Runs PROGRAM from make
// web's folder for its whole run in headless Chromium and prints the frames per second of each
// act, counted from its console lines by the timeline tool as measure_fps.sh has it count the
// native programs', and the page's CPU time per second of each act: the time the page's main thread spent in tasks (the
// DevTools protocol's TaskDuration), where the frames are drawn and the audio callback runs.
// WIDTHxHEIGHT is the canvas size (default 640x400). Needs make build-web, and runs in the
// browser tests' environment:
//   env $(make -s web-tests-env) node bench/measure_fps_web.mjs PROGRAM
import {
  barHeight, chooseAndStart, framesPerAct, launch, openDemo, programs, timelineActs, waitForEnd,
} from '../tests/web/harness.mjs';

const program = process.argv[2];
const [width, height] = (process.argv[3] ?? '640x400').split('x').map(Number);
if (!programs.includes(program) || !(width > 0 && height > 0)) {
  console.error(`usage: measure_fps_web.mjs ${programs.join('|')} [WIDTHxHEIGHT]`);
  process.exit(2);
}

const browser = await launch();
try {
  const { page } = await openDemo(browser, { width, height: height + barHeight });
  const devtools = await page.context().newCDPSession(page);
  await devtools.send('Performance.enable');
  await chooseAndStart(page, program);
  // Every 200 ms: the wall time, the program's t and the page's task time so far.
  const samples = [];
  const ended = waitForEnd(page, 200000).then(() => true);
  while (!(await Promise.race([ended, new Promise((done) => setTimeout(done, 200, false))]))) {
    const { metrics } = await devtools.send('Performance.getMetrics');
    const t = await page.evaluate(() => window.__herald.lines.at(-1)?.t ?? null);
    const task = metrics.find((metric) => metric.name === 'TaskDuration')?.value;
    if (t !== null && task !== undefined) samples.push({ wall: performance.now() / 1000, t, task });
  }
  // CPU seconds per second between the first sample in the act and the last one.
  const cpu = (from, to) => {
    const inside = samples.filter((sample) => sample.t >= from && sample.t < to);
    if (inside.length < 2) return NaN;
    const [first, last] = [inside[0], inside.at(-1)];
    return (last.task - first.task) / (last.wall - first.wall);
  };
  const times = await page.evaluate(() => window.__herald.lines.map((line) => line.t));
  console.log(`${program} in headless Chromium, canvas ${width}x${height}`);
  console.log(framesPerAct(times));
  console.log(`\n${'act'.padEnd(24)} ${'CPU s/s'.padStart(10)}`);
  for (const act of [...await timelineActs(), { name: 'whole run', from: 0, to: times.at(-1) }]) {
    console.log(`${act.name.padEnd(24)} ${cpu(act.from, act.to).toFixed(2).padStart(10)}`);
  }
} finally {
  await browser.close();
}
