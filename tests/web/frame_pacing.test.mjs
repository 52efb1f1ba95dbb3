// The page draws at most one frame per refresh of the display, counted against the animation
// frames the page ran, which holds on a quiet and on a busy machine alike (a slow machine draws
// fewer frames, never more). A hidden page draws no frames while the song goes on, and once shown
// its first frames are at the t of the wall clock, in the act that t belongs to.
import assert from 'node:assert/strict';
import { describe, test } from 'node:test';

import {
  browserForTests, chooseAndStart, countFrames, judge, openDemo, programs, setHidden, shoot, shotMoment, waitForEnd,
  variantOf, waitForTime,
} from './harness.mjs';

for (const program of programs) {
  const variant = variantOf(program);
  describe(program, () => {
    const shared = browserForTests();

    test('one frame per animation frame; none while hidden, the song going on; the right act when shown', async () => {
      const { page, problems } = await openDemo(shared.browser);
      await chooseAndStart(page, program);
      await waitForTime(page, 0.5);

      const { animationFrames, drawn } = await countFrames(page, 3000);
      console.log(`${program}: ${drawn} frames drawn in ${animationFrames} animation frames of the logo act`);
      assert.ok(drawn >= 1, 'the program draws');
      assert.ok(drawn <= animationFrames + 1, `${drawn} frames drawn in ${animationFrames} animation frames`);

      await setHidden(page, true);
      // A frame the browser had already asked for before the page was hidden may still come.
      await page.waitForTimeout(300);
      const hidden = await page.evaluate(() => ({ lines: window.__herald.lines.length, blocks: window.__herald.blocks.length }));
      await page.waitForTimeout(2000);
      // While hidden, the wall clock moves on to the scroller act.
      const scroller = await shotMoment('scroller_shrunk');
      const target = scroller.t;
      await page.evaluate((t) => {
        const hooks = window.__herald;
        const last = hooks.lines.at(-1);
        const now = last.t + (performance.now() - last.at) / 1000;
        hooks.clockOffset += Math.round((t - 0.3 - now) * 1000);
      }, target);
      const later = await page.evaluate(() => ({ lines: window.__herald.lines.length, blocks: window.__herald.blocks.length }));
      console.log(`${program}: hidden for 2 s, ${later.lines - hidden.lines} frames drawn, ` +
        `${later.blocks - hidden.blocks} audio blocks played`);
      assert.equal(later.lines - hidden.lines, 0, 'frames drawn while hidden');
      // 2 s are about 11.7 blocks of 8192 samples at 48000 Hz.
      assert.ok(later.blocks - hidden.blocks >= 6, `only ${later.blocks - hidden.blocks} audio blocks while hidden`);

      await setHidden(page, false);
      await waitForTime(page, target - 0.3, 10000);
      const first = await page.evaluate((n) => window.__herald.lines[n].t, later.lines);
      assert.ok(first >= target - 0.35 && first < target + 3, `the first frame when shown is at t = ${first}`);
      console.log(`${program}: ${await judge(await shoot(page, { ...scroller, name: 'scroller_after_hidden' }), variant)}`);

      await page.keyboard.press('Escape');
      await waitForEnd(page, 10000);
      assert.deepEqual(problems, []);
    });
  });
}
