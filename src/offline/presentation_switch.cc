#include "offline/presentation_switch.h"

namespace {
// Set once, before the drawing starts, and read only by the drawing thread after that.
Presentation chosen = Presentation::logical;
}  // namespace

std::optional<Presentation> presentation_named(std::string_view name) {
  if (name == "logical") return Presentation::logical;
  if (name == "drawable") return Presentation::drawable;
  return std::nullopt;
}

void choose_presentation(Presentation presentation) { chosen = presentation; }

void setup_presentation(const Canvas& canvas) {
  if (chosen == Presentation::logical) {
    setup_logical_presentation(canvas);
  } else {
    setup_drawable_presentation(canvas);
  }
}

CanvasSize presentation_size(const Canvas& canvas) {
  return chosen == Presentation::logical ? logical_presentation_size(canvas)
                                         : drawable_presentation_size(canvas);
}
