// What the browser tests share: the built page served on 127.0.0.1, Debian's Chromium driven
// by playwright-core, test-only hooks put into the page before its scripts run, and the native
// tools they ask, the same every channel's checks ask: the timeline's run limit, acts and moments
// and its count of frames per act, the screenshot judge and the song checker.
//
// The hooks (installed with addInitScript, never part of the page itself):
// - the AudioContext runs at 48000 Hz, so SDL2 hands the audio callback's blocks to the browser
//   unconverted, and every block is copied right after SDL2's handler has filled it;
// - every console line the page writes is logged with its time of arrival;
// - Date.now, the wall clock the program reads, can be moved forward, so a test reaches a late
//   act in seconds: every frame is a function of the time read, nothing else.
import { execFile, execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { mkdtemp, rm, writeFile } from 'node:fs/promises';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { after, before } from 'node:test';
import { pathToFileURL } from 'node:url';
import { promisify } from 'node:util';

import { serve } from '../../web/serve.mjs';

const run = promisify(execFile);
const root = resolve(new URL('../..', import.meta.url).pathname);
const { chromium } = createRequire(join(root, 'web/package.json'))('playwright-core');

// Where make web put the page and the one-file page (which plays when opened from disk), and
// the native build whose helpers render the reference frames and check the song: the browser
// tests' registration in CTest names them in HERALD_WEB_SITE, HERALD_WEB_FILE and
// HERALD_NATIVE_BUILD, and make web-tests-env prints them for the measurements.
function fromMake(name) {
  if (!process.env[name]) throw new Error(`${name} is not set: run the browser tests through ctest (make check-web), the measurements with make web-tests-env`);
  return resolve(root, process.env[name]);
}
export const site = fromMake('HERALD_WEB_SITE');
export const nativeBuild = fromMake('HERALD_NATIVE_BUILD');
export const oneFilePage = fromMake('HERALD_WEB_FILE');

// Where openDemo goes unless told otherwise: the served folder, or a page opened from disk once
// openFromDisk has named it, so the same tests run against either packaging.
let diskPage = null;
export function openFromDisk(file) {
  diskPage = file;
}

// The demo's programs, with the presentation variant of each, as the build lists them.
const programVariants = new Map(readFileSync(join(nativeBuild, 'programs.txt'), 'utf8').trim().split('\n')
  .map((line) => line.split(' ')));
export const programs = [...programVariants.keys()];
export function variantOf(program) {
  return programVariants.get(program);
}
export const barHeight = 24;  // the page's strip under the canvas
export const sampleRate = 48000;

// The browser as the machine notes say it runs here: no sandbox (root), no GPU (WebGL through
// SwiftShader), no network but loopback.
export async function launch(extraArgs = []) {
  return chromium.launch({
    executablePath: process.env.HERALD_CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', ...extraArgs],
  });
}

// One browser for the tests of the enclosing file or suite, launched before them and closed
// after them; the returned holder has it as .browser.
export function browserForTests(extraArgs = []) {
  const holder = { browser: null };
  before(async () => {
    holder.browser = await launch(extraArgs);
  });
  after(async () => {
    await holder.browser?.close();
  });
  return holder;
}

function installHooks() {
  const hooks = { lines: [], blocks: [], clickAt: null, clockOffset: 0 };
  window.__herald = hooks;
  const realNow = Date.now.bind(Date);
  Date.now = () => realNow() + hooks.clockOffset;

  const NativeContext = window.AudioContext;
  window.AudioContext = class extends NativeContext {
    constructor(options) {
      super({ ...options, sampleRate: 48000 });
    }
  };
  const handler = Object.getOwnPropertyDescriptor(ScriptProcessorNode.prototype, 'onaudioprocess');
  const create = NativeContext.prototype.createScriptProcessor;
  NativeContext.prototype.createScriptProcessor = function createScriptProcessor(...args) {
    const node = create.apply(this, args);
    Object.defineProperty(node, 'onaudioprocess', {
      get: () => handler.get.call(node),
      set: (fill) => handler.set.call(node, fill && ((event) => {
        fill(event);
        hooks.blocks.push({ at: performance.now(), samples: event.outputBuffer.getChannelData(0).slice() });
      })),
    });
    return node;
  };

  document.addEventListener('click', (event) => {
    if (event.target.id === 'play') hooks.clickAt = performance.now();
  }, true);
  // Every line the page writes, as it writes it: several frames can be drawn within one task of
  // the browser (the first two are), so watching the element for changes would miss some.
  document.addEventListener('DOMContentLoaded', () => {
    const line = document.getElementById('console');
    if (!line) return;  // a page around the demo's frame
    const text = Object.getOwnPropertyDescriptor(Node.prototype, 'textContent');
    Object.defineProperty(line, 'textContent', {
      get: () => text.get.call(line),
      set: (value) => {
        text.set.call(line, value);
        const match = /^Time: ([0-9.]+)$/.exec(value);
        if (match) hooks.lines.push({ t: Number(match[1]), at: performance.now() });
      },
    });
  });
}

// Headless Chromium keeps every page visible, in a background tab or a minimised window alike,
// so a test hides the page as a browser does a hidden tab's: visibilityState says hidden and the
// page gets no animation frames (their callbacks wait until it is shown); every other task, the
// audio callback among them, goes on. setHidden(page, hidden) switches it.
function installVisibilityHooks() {
  const hooks = window.__herald;
  hooks.hidden = false;
  hooks.heldFrames = [];
  const request = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = (callback) => {
    if (!hooks.hidden) return request(callback);
    hooks.heldFrames.push(callback);
    return 0;
  };
  for (const [name, value] of [['visibilityState', () => (hooks.hidden ? 'hidden' : 'visible')], ['hidden', () => hooks.hidden]]) {
    Object.defineProperty(Document.prototype, name, { configurable: true, get: value });
  }
  hooks.setHidden = (hidden) => {
    hooks.hidden = hidden;
    document.dispatchEvent(new Event('visibilitychange'));
    if (!hidden) for (const callback of hooks.heldFrames.splice(0)) request(callback);
  };
}

export async function setHidden(page, hidden) {
  await page.evaluate((value) => window.__herald.setHidden(value), hidden);
}

// Counts the page's animation frames for about ms milliseconds and the frames the program drew
// between the first and the last of them: { animationFrames, drawn }.
export async function countFrames(page, ms) {
  return page.evaluate((duration) => new Promise((done) => {
    const lines = window.__herald.lines;
    let first = null;
    let animationFrames = 0;
    const tick = (now) => {
      if (first === null) first = { at: now, drawn: lines.length };
      else ++animationFrames;
      if (now - first.at >= duration) done({ animationFrames, drawn: lines.length - first.drawn });
      else requestAnimationFrame(tick);
    };
    requestAnimationFrame(tick);
  }), ms);
}

// A page of the demo at the given viewport with the hooks in place. problems collects every
// error the page or its console reports. file opens that page from disk instead; context adds
// options of the browser context (a screen size, touch).
export async function openDemo(browser, { width = 640, height = 400 + barHeight, route, file = diskPage, context: options = {} } = {}) {
  const context = await browser.newContext({ viewport: { width, height }, ...options });
  const page = await context.newPage();
  const problems = [];
  page.on('pageerror', (error) => problems.push(`exception: ${error.message}`));
  page.on('console', (message) => {
    if (message.type() === 'error') problems.push(`console error: ${message.text()} (${message.location().url})`);
  });
  page.on('response', (response) => {
    if (response.status() >= 400) problems.push(`HTTP ${response.status()} for ${response.url()}`);
  });
  await page.addInitScript(installHooks);
  await page.addInitScript(installVisibilityHooks);
  if (route) await route(page);
  const url = file ? pathToFileURL(file).href : (await serverFor(browser)).url;
  await page.goto(url);
  return { page, problems, context };
}

const servers = new WeakMap();
async function serverFor(browser) {
  if (!servers.has(browser)) {
    const started = await serve(site);
    servers.set(browser, started);
    browser.on('disconnected', () => started.server.close());
  }
  return servers.get(browser);
}

// Runs a helper of the native build: what it printed, or an error with its lines saying what
// failed.
async function askHelper(name, args) {
  try {
    return (await run(join(nativeBuild, 'bin', name), args)).stdout.trim();
  } catch (error) {
    throw new Error(`${error.stdout?.trim() ?? ''} ${error.stderr?.trim() ?? error.message}`.trim());
  }
}

// The program's timeline as the native tool prints it (timeline_moments): lines of words.
async function timeline(...what) {
  return (await askHelper('timeline_moments', what)).split('\n').map((line) => line.split(' '));
}

// The run limit in seconds.
export async function runLimit() {
  return Number((await timeline('limit'))[0][0]);
}

// The acts of the timeline: { name, from, to }, the last one ending with the run.
export async function timelineActs() {
  return (await timeline('acts')).map(([from, to, ...name]) => ({ name: name.join(' '), from: Number(from), to: Number(to) }));
}

// The frames and frames per second of each act, as the timeline tool counts them from the times
// of a run's frames: its table, a line per act.
export function framesPerAct(times) {
  return execFileSync(join(nativeBuild, 'bin/timeline_moments'), ['frames'], { input: times.join('\n') }).toString().trimEnd();
}

// The moments the screenshot tests shoot, in order: { name, t, otherT, width, height }, with the
// moment of another act the shot must differ from and the canvas size for the shot.
export async function shotMoments() {
  return (await timeline('shots')).map(([name, t, otherT, size]) => {
    const [width, height] = size.split('x').map(Number);
    return { name, t: Number(t), otherT: Number(otherT), width, height };
  });
}

// One of those moments, by its name.
export async function shotMoment(name) {
  const moment = (await shotMoments()).find((m) => m.name === name);
  if (!moment) throw new Error(`the timeline has no moment named ${name}`);
  return moment;
}

export async function chooseAndStart(page, program) {
  await page.check(`input[name="program"][value="${program}"]`);
  await page.click('#play');
}

export async function latestTime(page) {
  return page.evaluate(() => window.__herald.lines.at(-1)?.t ?? null);
}

// Waits until the program has drawn a frame at t or later; fails when the console line stops.
export async function waitForTime(page, t, timeoutMs = 30000) {
  try {
    await page.waitForFunction((target) => (window.__herald.lines.at(-1)?.t ?? -1) >= target, t,
      { timeout: timeoutMs, polling: 20 });
  } catch {
    throw new Error(`the console line did not reach t = ${t} within ${timeoutMs} ms (last t = ${await latestTime(page)})`);
  }
}

// Moves the program's wall clock forward so that it soon reads `t - lead` seconds.
export async function jumpTo(page, t, lead = 0.3) {
  await page.evaluate(({ target, lead }) => {
    const hooks = window.__herald;
    const now = hooks.lines.at(-1)?.t ?? 0;
    if (target - lead > now) hooks.clockOffset += Math.round((target - lead - now) * 1000);
  }, { target: t, lead });
}

// The run has ended when the start panel is back with "Play again".
export async function waitForEnd(page, timeoutMs) {
  await page.waitForFunction(() => !document.getElementById('start').hidden &&
    document.getElementById('play').textContent === 'Play again', null, { timeout: timeoutMs });
}

// The samples the audio callback produced so far, from the first block, as one Float32Array,
// with the arrival times of the blocks.
export async function capturedAudio(page) {
  const { base64, times, blockSize } = await page.evaluate(() => {
    const blocks = window.__herald.blocks;
    const total = blocks.reduce((n, b) => n + b.samples.length, 0);
    const all = new Float32Array(total);
    let at = 0;
    for (const block of blocks) {
      all.set(block.samples, at);
      at += block.samples.length;
    }
    const bytes = new Uint8Array(all.buffer);
    let text = '';
    for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
    return { base64: btoa(text), times: blocks.map((b) => b.at), blockSize: blocks[0]?.samples.length ?? 0 };
  });
  const bytes = Buffer.from(base64, 'base64');
  return { samples: new Float32Array(bytes.buffer, bytes.byteOffset, bytes.length / 4), times, blockSize };
}

// Asks the native song checker (audio_disk_check) about the samples the audio callback produced:
// after whole blocks of silence written before playback began, the song from its first sample,
// exactly, then only silence. The arguments after the samples are the checker's: the seconds of
// the song that must be there, or 'whole' and the blocks the song may end early. Returns its
// verdict, or throws with its line saying what failed.
export async function checkSong(samples, ...args) {
  const dir = await mkdtemp(join(tmpdir(), 'herald-song-'));
  try {
    const file = join(dir, 'sound.raw');
    await writeFile(file, new Uint8Array(samples.buffer, samples.byteOffset, samples.byteLength));
    return (await askHelper('audio_disk_check', [file, ...args.map(String)])).replaceAll('\n', '; ');
  } finally {
    await rm(dir, { recursive: true, force: true });
  }
}

// Takes a screenshot of the canvas once the program has drawn the moment's t, with the times of
// the console lines written before it (the last 64) and during it, for the judge.
export async function shoot(page, { name, t, otherT }) {
  await jumpTo(page, t);
  await waitForTime(page, t);
  const before = await page.evaluate(() => window.__herald.lines.length);
  const size = await page.evaluate(() => {
    const canvas = document.getElementById('canvas');
    return { width: canvas.width, height: canvas.height, cssWidth: canvas.clientWidth, cssHeight: canvas.clientHeight };
  });
  if (size.width !== size.cssWidth || size.height !== size.cssHeight) {
    throw new Error(`${name}: the canvas has ${size.width}x${size.height} pixels on ${size.cssWidth}x${size.cssHeight} CSS pixels`);
  }
  const png = await page.screenshot({ clip: { x: 0, y: 0, width: size.width, height: size.height } });
  const lines = await page.evaluate((from) => window.__herald.lines.slice(Math.max(0, from - 64)).map((line) => line.t), before);
  const beforeCount = Math.min(64, before);
  return { name, png, otherT, before: lines.slice(0, beforeCount), during: lines.slice(beforeCount) };
}

// Asks the native judge (scenes_judge) about a shot of the program's presentation variant;
// returns its verdict, or throws with its line saying what failed.
export async function judge(shot, variant) {
  const dir = await mkdtemp(join(tmpdir(), `herald-${shot.name}-`));
  try {
    await writeFile(join(dir, 'shot.png'), shot.png);
    await run('convert', [join(dir, 'shot.png'), `bmp3:${join(dir, 'shot.bmp')}`]);
    const keep = process.env.HERALD_WEB_SHOTS_DIR ? ['--keep', process.env.HERALD_WEB_SHOTS_DIR] : [];
    const args = [...keep, variant, shot.name, join(dir, 'shot.bmp'), String(shot.otherT),
      ...shot.before.map(String), '--', ...shot.during.map(String)];
    return await askHelper('scenes_judge', args);
  } finally {
    await rm(dir, { recursive: true, force: true });
  }
}
