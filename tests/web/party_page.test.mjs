// The page where a party puts it: full screen from the page's control, with the first Escape
// leaving full screen and the next ending the demo; inside an iframe of another site's page,
// where keys reach the demo without a click into it; and on a phone, tapped, at its size.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import {
  barHeight, browserForTests, capturedAudio, checkSong, chooseAndStart, judge, openDemo, programs, shoot, shotMoment,
  variantOf, waitForEnd, waitForTime,
} from './harness.mjs';

// The party's page and the demo are both on this machine; Chromium would keep a page from one
// local address out of a frame of another.
const shared = browserForTests(['--disable-features=LocalNetworkAccessChecks']);
// Headless Chromium's screen, the one full screen takes, is the page's viewport: in full screen
// the canvas gets the strip's height as well. At 800 x 600 the two layouts differ clearly.
const windowed = { width: 800, height: 600 };
const screen = { width: 800, height: 600 + barHeight };

async function canvasSize(frame) {
  return frame.evaluate(() => {
    const canvas = document.getElementById('canvas');
    return { width: canvas.width, height: canvas.height };
  });
}

async function waitForCanvasSize(frame, size) {
  await frame.waitForFunction(({ width, height }) => {
    const canvas = document.getElementById('canvas');
    return canvas?.width === width && canvas?.height === height;
  }, size, { timeout: 10000 });
}

test('full screen from the control: the canvas takes the screen and matches the offline frames; Escape leaves it, the next Escape ends the demo', async () => {
  for (const program of programs) {
    const variant = variantOf(program);
    const { page, problems, context } = await openDemo(shared.browser, screen);
    await chooseAndStart(page, program);
    await waitForTime(page, 0.5);
    assert.equal(await page.textContent('#hint'), 'Escape ends the demo');

    await page.click('#fullscreen');
    await waitForCanvasSize(page, screen);
    assert.equal(await page.evaluate(() => document.fullscreenElement?.id), 'stage');
    assert.equal(await page.textContent('#stage-note'), 'Escape leaves full screen; Escape again ends the demo');
    assert.equal(await page.textContent('#hint'), 'Escape leaves full screen');
    await page.locator('#stage-note').waitFor({ state: 'hidden', timeout: 10000 });
    const full = await shoot(page, { ...(await shotMoment('logo')), name: 'logo_full_screen' });

    await page.keyboard.press('Escape');
    await waitForCanvasSize(page, windowed);
    assert.equal(await page.evaluate(() => document.fullscreenElement), null);
    const before = await page.evaluate(() => window.__herald.lines.length);
    await page.waitForFunction((n) => window.__herald.lines.length > n + 10, before, { timeout: 10000 });
    assert.equal(await page.textContent('#hint'), 'Escape ends the demo');
    const back = await shoot(page, { ...(await shotMoment('wave_reveal')), name: 'wave_reveal_back' });

    await page.keyboard.press('Escape');
    await waitForEnd(page, 10000);
    console.log(`${program}: ${await judge(full, variant)}`);
    console.log(`${program}: ${await judge(back, variant)}`);
    assert.deepEqual(problems, []);
    await context.close();
  }
});

test('inside an iframe of another site: start, Escape without a click into the demo, close, full screen', async () => {
  const { page, problems, context } = await openDemo(shared.browser);
  // The host is another origin (localhost against the demo's 127.0.0.1), as a party's site is.
  const demo = new URL(page.url());
  const host = `http://localhost:${demo.port}/party.html`;
  await page.route(host, (route) => route.fulfill({
    contentType: 'text/html',
    body: `<!doctype html><title>party</title><h1>The party</h1>
      <iframe src="${demo.origin}/index.html" width="640" height="${400 + barHeight}" allow="autoplay; fullscreen"></iframe>`,
  }));
  await page.setViewportSize({ width: 800, height: 600 });
  await page.goto(host);
  const frame = page.frames().find((f) => f.url().startsWith(demo.origin));
  await frame.waitForSelector('#play');

  await frame.click('#play');
  await waitForTime(frame, 1);
  assert.ok((await frame.evaluate(() => window.__herald.blocks.length)) > 0, 'the audio callback runs');
  await page.keyboard.press('Escape');
  await waitForEnd(frame, 10000);

  await frame.click('#play');
  await waitForTime(frame, 0.5);
  await frame.click('#close');
  await waitForEnd(frame, 10000);

  await frame.click('#play');
  await waitForTime(frame, 0.5);
  // Out of its frame, the stage takes the whole screen: the party page's viewport here.
  await frame.click('#fullscreen');
  await waitForCanvasSize(frame, page.viewportSize());
  await page.keyboard.press('Escape');
  await waitForCanvasSize(frame, { width: 640, height: 400 });
  await page.keyboard.press('Escape');
  await waitForEnd(frame, 10000);
  assert.deepEqual(problems, []);
  await context.close();
});

test('on a phone, 390 x 844: the start panel fits either way up, a tap starts the demo with its sound, scaled with bars', async () => {
  const phone = { width: 390, height: 844 };
  const { page, problems, context } = await openDemo(shared.browser, {
    width: phone.width, height: phone.height, context: { hasTouch: true, isMobile: true, deviceScaleFactor: 1 },
  });
  const within = async (selector, viewport) => {
    const box = await page.locator(selector).boundingBox();
    assert.ok(box && box.x >= 0 && box.y >= 0 && box.x + box.width <= viewport.width && box.y + box.height <= viewport.height,
      `${selector} at ${JSON.stringify(box)} lies outside ${viewport.width}x${viewport.height}`);
  };
  const landscape = { width: phone.height, height: phone.width };
  await page.setViewportSize(landscape);
  await within('#start', landscape);
  await page.locator('#play').scrollIntoViewIfNeeded();
  await within('#play', landscape);
  await page.setViewportSize(phone);
  await within('#start', phone);
  await within('#play', phone);

  // The party's facts are text on the panel, the web address a link.
  assert.ok(await page.locator('#facts').isVisible(), 'the facts on the start panel');
  assert.match(await page.getAttribute('#facts a', 'href'), /^https?:\/\//);

  await page.tap('#play');
  await waitForTime(page, 2);
  await within('#close', phone);
  await within('#fullscreen', phone);
  const { samples } = await capturedAudio(page);
  console.log(`the song on a phone: ${await checkSong(samples, 0.5)}`);
  assert.deepEqual(await canvasSize(page), { width: phone.width, height: phone.height - barHeight });
  // Turned sideways, the picture is the design scaled to the phone's height with bars at the
  // sides (upright, the picture is too small for the judge to tell the colour phase apart). The
  // shot is of the wave's reveal, which the test jumps ahead to: the logo, by the time a busy
  // machine gets here, may have bounced to where both layouts put it nearly alike.
  await page.setViewportSize(landscape);
  await waitForCanvasSize(page, { width: landscape.width, height: landscape.height - barHeight });
  const sideways = await shoot(page, { ...(await shotMoment('wave_reveal')), name: 'wave_reveal_phone' });
  console.log(`vexal25-herald on a phone: ${await judge(sideways, 'logical')}`);
  await page.tap('#close');
  await waitForEnd(page, 10000);
  assert.ok(await page.locator('#facts').isVisible(), 'the facts after the run');
  assert.deepEqual(problems, []);
  await context.close();
});
