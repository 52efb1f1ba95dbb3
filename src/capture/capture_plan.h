#pragma once

#include <cstdint>

// Which frames and which song samples a capture of a time range holds. Frame k of the demo shows
// t = k / fps rounded to whole milliseconds, the program's own time step; the samples under frame
// k start at k / fps seconds, so the picture and the song line up exactly from frame 0 on.

inline constexpr std::int64_t capture_sample_rate = 48000;
inline constexpr std::int64_t demo_length_ms = 114'000;

struct CapturePlan {
  std::int64_t fps = 60;
  std::int64_t first_frame = 0;   // k of the first frame of the file
  std::int64_t frame_count = 0;   // frames k with from <= k / fps < to
  std::int64_t first_sample = 0;  // song sample under the first frame
  std::int64_t sample_count = 0;  // samples up to the end of the last frame
};

// The range [from_ms, to_ms) at fps frames per second. Empty (frame_count 0) when no frame time
// falls inside it.
CapturePlan plan_capture(std::int64_t from_ms, std::int64_t to_ms, std::int64_t fps);

// t of frame k in whole milliseconds: k * 1000 / fps, halves rounded up.
std::int64_t frame_time_ms(std::int64_t k, std::int64_t fps);

// The first song sample under frame k: k * 48000 / fps, halves rounded up.
std::int64_t frame_start_sample(std::int64_t k, std::int64_t fps);

// The jitter seed of the frame at t_ms in a capture seeded with `seed`. It depends on the moment
// alone, not on the frames drawn before, so a short range shows exactly the frames that a whole
// capture with the same seed shows at those moments.
std::uint64_t frame_jitter_seed(std::uint64_t seed, std::int64_t t_ms);
