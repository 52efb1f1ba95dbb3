// The whole run, left alone in real time (about two minutes): the song plays once, sample for
// sample, then silence; the program ends by itself after 114 s and the page offers to play
// again. The frames per second of each act are printed for the record; they assert nothing.
//
// The browser has no WebGL here, so the frames are drawn in software: this machine has no GPU,
// and WebGL emulated on the processor (SwiftShader) made the run cost 117 s of processor time
// instead of 45 s. What is judged is the clock and the song, the same on either drawing path;
// the frames of the WebGL path are the other tests' concern.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import {
  browserForTests, capturedAudio, chooseAndStart, compareWithSong, framesPerAct, nativeSong, openDemo, sampleRate,
  timelineActs, waitForEnd,
} from './harness.mjs';

const shared = browserForTests(['--disable-3d-apis']);

test('left alone, the run plays the whole song once and ends by itself after 114 s', { timeout: 240000 }, async () => {
  const { page, problems } = await openDemo(shared.browser);
  await chooseAndStart(page, 'vexal25-herald');
  await waitForEnd(page, 150000);
  assert.equal(await page.locator('#message').isHidden(), true, 'no message after a normal end');

  const times = await page.evaluate(() => window.__herald.lines.map((line) => line.t));
  const last = times.at(-1);
  assert.ok(last > 113.8 && last <= 114, `expected the last frame just before t = 114, saw ${last}`);
  const fps = framesPerAct(times, await timelineActs()).map((act) => `${act.name} ${act.fps.toFixed(1)}`);
  console.log(`vexal25-herald frames per second by act: ${fps.join(', ')}`);

  const song = await nativeSong();
  const { samples, blockSize } = await capturedAudio(page);
  const { matched, after: silence } = compareWithSong(samples, blockSize, song);
  console.log(`${matched} of ${song.length} song samples played, then ${silence} samples of silence`);
  // The song lasts 113.963 s and the device closes at t = 114: the callback has played all of it
  // unless it fell a block behind the clock.
  assert.ok(matched >= song.length - 2 * blockSize, `expected the whole song, saw ${matched} of ${song.length} samples`);
  assert.deepEqual(problems, []);
});
