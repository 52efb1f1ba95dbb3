// What a visitor sees when the browser falls short: a program that cannot be downloaded gives
// a message and a start control that tries again; a browser without WebGL still shows the demo,
// drawn by SDL2's software renderer.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import { chooseAndStart, judge, launch, openDemo, shoot, shotMoment, waitForEnd, waitForTime } from './harness.mjs';

test('a failed download of the program says so on the page, and the next click tries again', async () => {
  const browser = await launch();
  try {
    const program = 'vexal25-herald-drawable';
    const wasm = `**/${program}.wasm`;
    const { page } = await openDemo(browser, { route: (p) => p.route(wasm, (route) => route.abort('failed')) });
    await chooseAndStart(page, program);
    await page.locator('#message').waitFor({ state: 'visible', timeout: 10000 });
    assert.match(await page.textContent('#message'), /could not be loaded/);
    assert.equal(await page.textContent('#play'), 'Start');
    assert.equal(await page.locator('#canvas').count(), 0, 'no canvas without a program');

    await page.unroute(wasm);
    await page.click('#play');
    await waitForTime(page, 0.5);
    assert.equal(await page.locator('#message').isHidden(), true, 'the message goes once the demo runs');
    await page.keyboard.press('Escape');
    await waitForEnd(page, 10000);
  } finally {
    await browser.close();
  }
});

test('without WebGL the frames are drawn in software and match the offline frames', async () => {
  const browser = await launch(['--disable-3d-apis']);
  try {
    const { page, problems } = await openDemo(browser);
    const webgl = await page.evaluate(() => {
      const canvas = document.createElement('canvas');
      return Boolean(canvas.getContext('webgl') || canvas.getContext('webgl2'));
    });
    assert.equal(webgl, false, 'this browser must have no WebGL for the test to mean anything');
    await chooseAndStart(page, 'vexal25-herald');
    const shot = await shoot(page, { ...(await shotMoment('logo')), name: 'logo_software' });
    console.log(`vexal25-herald without WebGL: ${await judge(shot, 'logical')}`);
    await page.keyboard.press('Escape');
    await waitForEnd(page, 10000);
    assert.deepEqual(problems, []);
  } finally {
    await browser.close();
  }
});
