// The page's close control ends a run as closing the window does, and playing again starts a
// fresh instance: its time starts over and its song plays again from the first sample.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import {
  browserForTests, capturedAudio, checkSong, chooseAndStart, openDemo, waitForEnd, waitForTime,
} from './harness.mjs';

const shared = browserForTests();

test('the close control ends the run, and playing again starts a fresh one from its first frame and sample', async () => {
  const { page, problems } = await openDemo(shared.browser);
  await chooseAndStart(page, 'vexal25-herald-drawable');
  await waitForTime(page, 1.5);
  await page.click('#close');
  await waitForEnd(page, 10000);
  assert.equal(await page.locator('#message').isHidden(), true, 'no message after a normal end');

  // What the first run left behind must not count for the second.
  await page.evaluate(() => {
    window.__herald.lines = [];
    window.__herald.blocks = [];
  });
  await chooseAndStart(page, 'vexal25-herald');
  await waitForTime(page, 2.5);
  const first = await page.evaluate(() => window.__herald.lines[0].t);
  assert.equal(first, 0.001, 'the second run starts with the first frame at t = 0.001');
  const { samples } = await capturedAudio(page);
  console.log(`the song again: ${await checkSong(samples, 1.5)}`);

  await page.keyboard.press('Escape');
  await waitForEnd(page, 10000);
  assert.deepEqual(problems, []);
});
