#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Whether a screenshot of the real window shows the frame the program drew at one of the times
// around the shot, and clearly not a frame of another act, the mirrored colour phase or the
// other presentation's layout. The same verdict for the native programs, the Windows programs
// under Wine and the browser build.

// The times of the frames that may be on a screenshot. `before` holds the times of the console
// lines written before the shot began (the last few suffice), `during` those written while it was
// taken. A presented picture can wait in the display's buffers for a few frames, so the
// candidates reach back three lines before the shot and 50 ms further; frames a millisecond apart
// look alike, so at most 24 of them, spread evenly, are kept. Empty when no line came before the
// shot.
std::vector<double> candidate_times(std::span<const double> before, std::span<const double> during);

// A shot shows an offline frame when its distance is at most this.
inline constexpr double match_limit = 2;

// The distances of the screenshot from the offline frames (image_distance.h): the closest
// candidate, the closest candidate in the mirrored colour phase, the frame of another act, the
// closest candidate in the other presentation's layout (measured only off the design size, where
// the layouts differ), and the closest pair of candidates one after the other torn at a row
// (torn_distance; measured only when no candidate is within match_limit).
struct ShotDistances {
  double match;
  double mirrored;
  double other_act;
  std::optional<double> other_layout;
  std::optional<double> torn;
};

struct ShotVerdict {
  std::string line;      // what was seen, one line
  std::string note;      // a remark on a check left out, or empty
  std::string failures;  // every check that failed, "; " between them, or empty
};

struct ShotFacts {
  std::string_view name;
  int width;
  int height;
  std::span<const double> times;  // the candidates, in order
  double other_t;                 // the moment of the other act
};

ShotVerdict judge_shot(const ShotFacts& shot, const ShotDistances& distances);
