#include <emscripten.h>

#include "base/frame_pause.h"

// In the browser the frame loop runs on the page's only thread: the canvas is shown, the audio
// callback runs and key presses arrive only while the program gives control back. The pause
// therefore waits for the browser's next animation frame (the loop is suspended and resumed in
// place, so it keeps its shape) instead of sleeping 83 333 ns, which would block the page. So
// the page draws at most one frame per refresh of the display, each at the t read when the
// display asks for it, and none while it is hidden, when the browser runs no animation frames;
// the song goes on meanwhile, and the first frame after it is shown is again at the right t.
// The wake-up goes through callUserCallback, as emscripten_sleep's does: when main returns in a
// resumed turn, that is where the runtime exits and the page hears of it.
EM_JS(void, wait_for_animation_frame, (), {
  Asyncify.handleSleep(
      function(wake_up) { requestAnimationFrame(function() { callUserCallback(wake_up); }); });
});

void frame_pause() { wait_for_animation_frame(); }
