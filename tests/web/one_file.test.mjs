// The browser version as a visitor gets it in the release: one file opened straight from disk
// (a file:// address), where browsers refuse module scripts and fetches. The runs of both
// programs (start, the song sample for sample, the frames against the offline frames, Escape)
// and playing again are the served page's own tests, pointed at the file. The served page opened
// from disk cannot play; it must say what to do instead and offer no dead Start.
import assert from 'node:assert/strict';
import { join } from 'node:path';
import { test } from 'node:test';

import { browserForTests, oneFilePage, openDemo, openFromDisk, site } from './harness.mjs';

const shared = browserForTests();

test('the served page opened from disk says in one line what to do instead, and Start is disabled', async () => {
  const { page } = await openDemo(shared.browser, { file: join(site, 'index.html') });
  const message = page.locator('#message');
  await message.waitFor({ state: 'visible', timeout: 10000 });
  const text = await message.textContent();
  assert.match(text, /one-file version, vexal25-herald\.html, or serve this folder/);
  assert.doesNotMatch(text, /\n/);
  assert.equal(await page.locator('#play').isDisabled(), true, 'Start is disabled');
  await page.context().close();
});

openFromDisk(oneFilePage);
await import('./program.test.mjs');
await import('./replay.test.mjs');
