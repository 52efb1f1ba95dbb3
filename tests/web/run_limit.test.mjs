// The whole run, left alone in real time (about two minutes): the song plays once, sample for
// sample, then silence; the program ends by itself at the run limit and the page offers to play
// again. The frames per second of each act are printed for the record; they assert nothing.
//
// The browser has no WebGL here, so the frames are drawn in software: this machine has no GPU,
// and WebGL emulated on the processor (SwiftShader) made the run cost 117 s of processor time
// instead of 45 s. What is judged is the clock and the song, the same on either drawing path;
// the frames of the WebGL path are the other tests' concern.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import {
  browserForTests, capturedAudio, checkSong, chooseAndStart, framesPerAct, openDemo, runLimit, waitForEnd,
} from './harness.mjs';

const shared = browserForTests(['--disable-3d-apis']);
const limit = await runLimit();

test('left alone, the run plays the whole song once and ends by itself at the run limit', { timeout: 240000 }, async () => {
  const { page, problems } = await openDemo(shared.browser);
  await chooseAndStart(page, 'vexal25-herald');
  await waitForEnd(page, (limit + 36) * 1000);
  assert.equal(await page.locator('#message').isHidden(), true, 'no message after a normal end');

  const times = await page.evaluate(() => window.__herald.lines.map((line) => line.t));
  const last = times.at(-1);
  assert.ok(last > limit - 0.2 && last <= limit, `expected the last frame just before t = ${limit}, saw ${last}`);
  console.log(`vexal25-herald frames per act:\n${framesPerAct(times)}`);

  // The song ends just before the run limit, where the page closes its output: the callback has
  // played all of it unless the browser's audio clock fell up to two blocks behind the wall clock.
  const { samples } = await capturedAudio(page);
  console.log(await checkSong(samples, 'whole', 2));
  assert.deepEqual(problems, []);
});
