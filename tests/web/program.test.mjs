// Each program in the browser, one run from the click to Escape: the page loads cleanly, the
// audio callback plays the song from its first sample at the real-time rate, the canvas shows
// early in each act what the native code renders offline at the time the page reported (the
// drawable program laid out against a resized viewport), and Escape ends the run.
import assert from 'node:assert/strict';
import { before, describe, test } from 'node:test';

import {
  barHeight, browserForTests, capturedAudio, checkSong, chooseAndStart, judge, openDemo, programs, sampleRate, shoot,
  shotMoments, variantOf, waitForEnd, waitForTime,
} from './harness.mjs';

// The moments early in each act, each with a moment of another act in the same colour phase and
// the viewport it is taken at, from the program's timeline.
const shots = await shotMoments();

const audioSeconds = 5;

for (const program of programs) {
  const variant = variantOf(program);
  describe(program, () => {
    const shared = browserForTests();
    let demo;
    const taken = [];

    before(async () => {
      demo = await openDemo(shared.browser);
    });

    test('the page loads and the click starts the program', async () => {
      const { page, problems } = demo;
      assert.equal(await page.title(), 'vexal25-herald');
      await chooseAndStart(page, program);
      await waitForTime(page, 0.001);
      const delay = await page.evaluate(() => window.__herald.lines[0].at - window.__herald.clickAt);
      console.log(`${program}: first frame ${delay.toFixed(0)} ms after the click`);
      assert.equal(await page.title(), 'vexal25-herald.cc', 'the window title the program set');
      assert.deepEqual(problems, []);
    });

    test(`the audio callback plays the song from its first sample at the real-time rate`, async () => {
      const { page } = demo;
      await waitForTime(page, audioSeconds);
      const { samples, times, blockSize } = await capturedAudio(page);
      assert.equal(blockSize, 8192, 'samples per callback');
      const song = await checkSong(samples, audioSeconds - 1);
      // Blocks arrive one at a time, and the first ones may catch up in a burst after a slow
      // start: the rate is counted over the blocks from a second after the first one to the last.
      const from = times.findIndex((at) => at >= times[0] + 1000);
      const seconds = (times.at(-1) - times[from]) / 1000;
      const rate = ((times.length - 1 - from) * blockSize) / seconds;
      console.log(`${program}: ${song}; ${times.length - 1 - from} blocks in ${seconds.toFixed(2)} s, ${rate.toFixed(0)} samples/s`);
      assert.ok(rate > 0.8 * sampleRate && rate < 1.25 * sampleRate, `expected about ${sampleRate} samples/s, saw ${rate.toFixed(0)}`);
    });

    test('early in each act the canvas shows the frame rendered offline', async () => {
      const { page } = demo;
      for (const shot of shots) {
        const viewport = page.viewportSize();
        if (viewport.width !== shot.width || viewport.height !== shot.height + barHeight) {
          await page.setViewportSize({ width: shot.width, height: shot.height + barHeight });
          await page.waitForFunction(({ width, height }) => {
            const canvas = document.getElementById('canvas');
            return canvas.width === width && canvas.height === height;
          }, shot, { timeout: 10000 });
        }
        taken.push(await shoot(page, shot));
      }
      // Judged after the shots, so that rendering offline does not hold up the run.
      const failures = [];
      for (const shot of taken) {
        try {
          console.log(`${program}: ${await judge(shot, variant)}`);
        } catch (error) {
          failures.push(error.message);
        }
      }
      assert.deepEqual(failures, []);
    });

    test('Escape ends the run and the page offers to play again', async () => {
      const { page, problems } = demo;
      const last = await page.evaluate(() => window.__herald.lines.length);
      await page.keyboard.press('Escape');
      await waitForEnd(page, 10000);
      assert.equal(await page.locator('#message').isHidden(), true, 'no message after a normal end');
      assert.equal(await page.locator('#canvas').count(), 0, 'the canvas is gone');
      const drawnAfter = await page.evaluate((n) => window.__herald.lines.length - n, last);
      assert.ok(drawnAfter < 100, `the run went on for ${drawnAfter} frames after Escape`);
      assert.deepEqual(problems, []);
    });
  });
}
