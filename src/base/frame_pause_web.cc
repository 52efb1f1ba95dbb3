#include <emscripten.h>

#include "base/frame_pause.h"

// In the browser the frame loop runs on the page's only thread: the canvas is shown, the audio
// callback runs and key presses arrive only while the program gives control back. The pause
// therefore yields for one turn of the browser's event loop (the loop is suspended and resumed
// in place, so it keeps its shape) instead of sleeping 83 333 ns, which would block the page.
void frame_pause() { emscripten_sleep(0); }
