#pragma once

#include <cstdint>
#include <vector>

// How far a screenshot of the real window is from a frame rendered offline, up to the glyphs'
// random jitter and a frame or two of timing.
//
// Both pictures are averaged over 16 x 16 pixel blocks, the block grid is blurred over 5 x 5
// blocks, and the grid is cut into regions of 4 x 4 blocks (64 x 64 pixels). The distance is the
// largest mean absolute difference (0 to 255, over the blocks and the three colour bytes) of any
// region. The wide blur hides where a glyph shook to (a few pixels), and taking the worst region
// keeps a missing line of text or a misplaced logo from being diluted by the rest of the screen.
// Two renders of one moment differ by under 1 through the jitter alone; one erased bottom line of
// the greetings gives about 7, a missing logo about 13.

// A picture as rows of red, green and blue bytes, without padding.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
};

// The blurred block averages of a picture, row by row, three values a block.
struct BlockGrid {
  int width = 0;
  int height = 0;
  std::vector<double> rgb;
};

// With swap_red_blue the red and blue bytes are exchanged first. The text colour is
// (v, 64, 255 - v) on a grey background, so the exchange is the same picture in the mirrored
// colour phase.
BlockGrid blurred_blocks(const Picture& picture, bool swap_red_blue);

// The distance of two grids of pictures of the same size.
double grid_distance(const BlockGrid& a, const BlockGrid& b);

// The rows above `split` from `top`, the others from `bottom` (pictures of the same size).
Picture torn_picture(const Picture& top, const Picture& bottom, int split);

// How far a screenshot is from the window caught between two frames: the top of `later` over the
// bottom of `earlier`, torn at the closest of every eighth row. A window handed to the display in
// bands of rows, or copied from memory that the program is already overwriting with its next
// frame, shows that for a moment, always with the newer rows above.
double torn_distance(const BlockGrid& shot, const Picture& earlier, const Picture& later);
