#pragma once

#include <optional>
#include <string_view>

#include "app/presentation.h"
#include "base/canvas.h"

// A tool that draws either program's frames (the capture, the screenshot judge) links both
// presentation variants: each one's two operations under its own name, and in their place the two
// operations the director calls, which forward to the variant chosen for this run. The programs
// themselves still link exactly one variant each.

enum class Presentation { logical, drawable };

// The variant a tool's argument names: "logical" or "drawable"; nothing for any other text.
std::optional<Presentation> presentation_named(std::string_view name);

// Chooses the variant for every frame that follows; call it before the canvas is made.
void choose_presentation(Presentation presentation);

// The two variants' own operations, built from the programs' presentation files under these
// names.
void setup_logical_presentation(const Canvas& canvas);
CanvasSize logical_presentation_size(const Canvas& canvas);
void setup_drawable_presentation(const Canvas& canvas);
CanvasSize drawable_presentation_size(const Canvas& canvas);
