#include "capture/capture_plan.h"

namespace {
// n / d rounded to the nearest whole number, halves up; n >= 0, d > 0.
std::int64_t rounded_quotient(std::int64_t n, std::int64_t d) { return (2 * n + d) / (2 * d); }

// The smallest whole number >= n / d; n >= 0, d > 0.
std::int64_t ceiling_quotient(std::int64_t n, std::int64_t d) { return (n + d - 1) / d; }
}  // namespace

CapturePlan plan_capture(std::int64_t from_ms, std::int64_t to_ms, std::int64_t fps) {
  CapturePlan plan;
  plan.fps = fps;
  plan.first_frame = ceiling_quotient(from_ms * fps, 1000);
  const std::int64_t end_frame = ceiling_quotient(to_ms * fps, 1000);
  plan.frame_count = end_frame > plan.first_frame ? end_frame - plan.first_frame : 0;
  plan.first_sample = frame_start_sample(plan.first_frame, fps);
  plan.sample_count = frame_start_sample(plan.first_frame + plan.frame_count, fps) - plan.first_sample;
  return plan;
}

std::int64_t frame_time_ms(std::int64_t k, std::int64_t fps) { return rounded_quotient(k * 1000, fps); }

std::int64_t frame_start_sample(std::int64_t k, std::int64_t fps) {
  return rounded_quotient(k * capture_sample_rate, fps);
}

std::uint64_t frame_jitter_seed(std::uint64_t seed, std::int64_t t_ms) {
  // SplitMix64's finaliser over the seed and the moment: neighbouring moments get unrelated seeds.
  std::uint64_t z = seed + (static_cast<std::uint64_t>(t_ms) + 1) * 0x9E3779B97F4A7C15u;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
  return z ^ (z >> 31);
}
