// The page around the two programs. It loads the chosen program ahead of time, starts it when
// the visitor clicks (browsers start sound only after a gesture), shows its console time line,
// ends it on the close control and offers to play again. Every run is a fresh instance of the
// program's module: fresh memory, fresh SDL2 state, a fresh canvas and a fresh AudioContext.

const $ = (id) => document.getElementById(id);
const stage = $('stage');
const startPanel = $('start');
const playButton = $('play');
const message = $('message');
const consoleLine = $('console');
const closeButton = $('close');
const fullscreenButton = $('fullscreen');
const hint = $('hint');
const stageNote = $('stage-note');

const sdlQuit = 0x100;          // SDL_QUIT, the event type closing the window queues
const sdlEventBytes = 56;       // sizeof(SDL_Event)
const cursorUp = '\x1b[F';      // ends every console line; a terminal overwrites the line with it
const pageTitle = document.title;

// program name -> promise of { factory, wasm }: the module script's factory and its compiled
// WebAssembly, compiled before the click. In the one-file packaging both are in the page: the
// factory a global named after the program (dashes as underscores), the WebAssembly in base64 in
// a data block with the .wasm file's name as its id.
const loads = new Map();
let run = null;                 // the running program: { module }

function chosenProgram() {
  return document.querySelector('input[name="program"]:checked').value;
}

function fetchProgram(program) {
  return Promise.all([
    import(`./${program}.js`).then((script) => script.default),
    fetch(`${program}.wasm`)
      .then((response) => {
        if (!response.ok) throw new Error(`${program}.wasm: HTTP ${response.status}`);
        return response.arrayBuffer();
      })
      .then((bytes) => WebAssembly.compile(bytes)),
  ]).then(([factory, wasm]) => ({ factory, wasm }));
}

function inlineProgram(program, block) {
  return Promise.resolve(block.textContent)
    .then((base64) => WebAssembly.compile(Uint8Array.from(atob(base64), (c) => c.charCodeAt(0))))
    .then((wasm) => ({ factory: window[program.replaceAll('-', '_')], wasm }));
}

function load(program) {
  if (!loads.has(program)) {
    const block = document.getElementById(`${program}.wasm`);
    const loading = block ? inlineProgram(program, block) : fetchProgram(program);
    loads.set(program, loading);
    // A failed load is tried again on the next click rather than remembered.
    loading.catch(() => loads.delete(program));
  }
  return loads.get(program);
}

function say(text) {
  message.textContent = text;
  message.hidden = !text;
}

function offerStart(label) {
  playButton.textContent = label;
  playButton.disabled = false;
  startPanel.hidden = false;
  playButton.focus();
}

// The run is over: by its own end, Escape, the close control or a failure.
function finish(problem) {
  if (!run) return;
  run = null;
  closeButton.disabled = true;
  fullscreenButton.disabled = true;
  hint.hidden = true;
  if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
  stage.replaceChildren(stageNote);
  document.title = pageTitle;  // the program titled its window; the window is gone
  say(problem);
  offerStart('Play again');
}

async function start() {
  if (run) return;
  const program = chosenProgram();
  say('');
  // Made inside the click, so the browser lets it play; SDL2's audio backend takes it over and
  // closes it when the program closes its audio device.
  let audioContext;
  try {
    audioContext = new AudioContext();
  } catch (error) {
    say(`This browser gives the demo no sound output (${error.message}), so it cannot run here.`);
    return;
  }
  audioContext.resume().catch(() => {});  // SDL2 resumes it on the next gesture otherwise
  playButton.disabled = true;
  playButton.textContent = 'Loading';
  let loaded;
  try {
    loaded = await load(program);
  } catch (error) {
    audioContext.close();
    say(`The demo could not be loaded (${error.message}). Check the connection and try again.`);
    offerStart('Start');
    return;
  }

  const canvas = document.createElement('canvas');
  canvas.id = 'canvas';  // SDL2 finds its window by this id
  canvas.tabIndex = -1;
  canvas.addEventListener('contextmenu', (event) => event.preventDefault());
  canvas.addEventListener('dblclick', toggleFullscreen);
  // SDL2 reads the canvas's CSS size on the window's resize events. The canvas also changes
  // size without one, as when the stage enters full screen inside a frame that keeps its size,
  // so every change of its size is passed on as one.
  new ResizeObserver(() => window.dispatchEvent(new Event('resize'))).observe(canvas);
  stage.replaceChildren(canvas, stageNote);
  startPanel.hidden = true;
  // SDL2 hears keys on the whole window, but only while the page has the focus; the Start
  // control that had it is gone, so the canvas takes it (in a party's iframe too), and Escape
  // works without a click into the demo first.
  canvas.focus();

  const module = {
    canvas,
    SDL2: { audioContext },
    // Built with Asyncify, SDL2 would also yield to the browser inside every present. The frame
    // pause already gives the browser its turn once a frame, until the next animation frame; a
    // second yield would only add a timer's turn to every frame.
    preRun: [(instance) => {
      instance.ENV.SDL_EMSCRIPTEN_ASYNCIFY = '0';
    }],
    // One call per console line: the page keeps only the latest, as a terminal would show it.
    print: (line) => {
      consoleLine.textContent = line.endsWith(cursorUp) ? line.slice(0, -cursorUp.length) : line;
      if (closeButton.disabled) {
        closeButton.disabled = false;
        fullscreenButton.disabled = !document.fullscreenEnabled;
        hint.hidden = false;
      }
    },
    printErr: (line) => console.error(line),
    onExit: (status) => finish(status === 0 ? '' : `The demo stopped (exit status ${status}).`),
    onAbort: (what) => finish(`The demo failed: ${what}`),
    // The WebAssembly was compiled when the program was chosen; only the instance is new.
    instantiateWasm: (imports, receive) => {
      WebAssembly.instantiate(loaded.wasm, imports).then(
        (instance) => receive(instance, loaded.wasm),
        (error) => {
          audioContext.close();
          finish(`The demo could not start: ${error.message}`);
        });
      return {};
    },
  };
  run = { module };
  loaded.factory(module).catch((error) => finish(`The demo failed: ${error}`));
}

// Closing the page's stand-in for the window: SDL_QUIT goes into the program's event queue,
// and the frame loop ends on it as it does when a desktop window is closed.
function close() {
  const module = run?.module;
  if (!module?._SDL_PushEvent) return;
  const event = module._malloc(sdlEventBytes);
  module.HEAPU32.fill(0, event >> 2, (event + sdlEventBytes) >> 2);
  module.HEAPU32[event >> 2] = sdlQuit;
  module._SDL_PushEvent(event);
  module._free(event);
}

// Full screen holds the stage, the canvas alone, so the picture takes the whole screen: the
// logical program scales its 640 x 400 with bars, the drawable one lays out against the screen
// (SDL2 follows the canvas's new size). Browsers take the first Escape to leave full screen;
// one that reaches the page there is kept from the program as well, so the demo goes on, and
// the next Escape ends it.
function toggleFullscreen() {
  if (!run) return;
  if (document.fullscreenElement) {
    document.exitFullscreen().catch(() => {});
  } else if (document.fullscreenEnabled) {
    stage.requestFullscreen().catch((error) => console.warn(`full screen refused: ${error.message}`));
  }
}

let noteTimer = 0;
function fullscreenChanged() {
  const full = Boolean(document.fullscreenElement);
  fullscreenButton.textContent = full ? 'Leave full screen' : 'Full screen';
  hint.textContent = full ? 'Escape leaves full screen' : 'Escape ends the demo';
  // The strip is out of sight in full screen: for a few seconds the note says it there.
  clearTimeout(noteTimer);
  stageNote.textContent = full ? 'Escape leaves full screen; Escape again ends the demo' : '';
  stageNote.hidden = !full;
  if (full) noteTimer = setTimeout(() => { stageNote.hidden = true; }, 4000);
  document.getElementById('canvas')?.focus();
}

function keptFromProgram(event) {
  if (event.key === 'Escape' && document.fullscreenElement) {
    event.stopImmediatePropagation();
    event.preventDefault();
    if (event.type === 'keydown') document.exitFullscreen().catch(() => {});
  }
}

// The page's own check, inline in index.html, hears that this script runs.
document.documentElement.dataset.script = 'running';

if (typeof WebAssembly !== 'object' || typeof AudioContext !== 'function') {
  say('This browser cannot run the demo: it needs WebAssembly and Web Audio.');
  playButton.disabled = true;
} else {
  playButton.addEventListener('click', start);
  closeButton.addEventListener('click', close);
  fullscreenButton.addEventListener('click', toggleFullscreen);
  document.addEventListener('fullscreenchange', fullscreenChanged);
  // Before SDL2's own listeners on the window: the capture phase of the window runs first.
  for (const type of ['keydown', 'keyup', 'keypress']) window.addEventListener(type, keptFromProgram, true);
  for (const choice of document.querySelectorAll('input[name="program"]')) {
    choice.addEventListener('change', () => load(chosenProgram()).catch(() => {}));
  }
  load(chosenProgram()).catch(() => {});
}
