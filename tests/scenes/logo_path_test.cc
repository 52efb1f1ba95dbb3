#include "scenes/logo_path.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "scenes/saturate.h"

namespace {
// A logo 150 px of advances wide and 35 px tall: free ranges 458 x 333 on 640 x 400.
constexpr LogoSize sample_size{16.0 + 150.0, 35.0f + 16.0f};
}  // namespace

TEST(LogoPath, StandsAtTheMarginForHalfASecond) {
  for (const double t : {0.0, 0.001, 0.25, 0.5, 0.501}) {
    EXPECT_EQ(logo_origin(t, 640, 400, sample_size), (LogoPoint{16, 16})) << t;
  }
  EXPECT_EQ(logo_origin(0.51, 640, 400, sample_size), (LogoPoint{17, 17}));  // s = 0.9
  EXPECT_EQ(logo_origin(1.5, 640, 400, sample_size), (LogoPoint{106, 106}));
}

TEST(LogoPath, RoundsHalvesAwayFromZero) {
  // C = 0.75: s = 22.5, so 38.5 rounds to 39 (not to the even 38).
  EXPECT_EQ(logo_origin(0.75, 640, 400, sample_size), (LogoPoint{39, 39}));
}

TEST(LogoPath, BouncesBackFromTheFarEdge) {
  // Free range 100 horizontally: at s = 130 the logo is 30 px on its way back.
  constexpr LogoSize wide{640.0 - 116.0, 35.0f + 16.0f};
  const LogoPoint p = *logo_origin(0.5 + 130.0 / 90.0, 640, 400, wide);
  EXPECT_EQ(p.x, 16 + 100 - 30);
  EXPECT_EQ(p.y, 146);
  // One full period later it is back at the same place.
  EXPECT_EQ(logo_origin(0.5 + 330.0 / 90.0, 640, 400, wide)->x, 86);
  // At the far turning point it keeps the margin to the right edge.
  EXPECT_EQ(logo_origin(0.5 + 100.0 / 90.0, 640, 400, wide)->x, 116);
}

TEST(LogoPath, ReappearsAtFifteenSecondsOfItsPathAtNinety) {
  EXPECT_DOUBLE_EQ(logo_clock(29.999), 29.999);
  EXPECT_DOUBLE_EQ(logo_clock(90.0), 15.0);
  EXPECT_DOUBLE_EQ(logo_clock(114.0), 39.0);
  // s = 1305: fmod(1305, 916) = 389; fmod(1305, 666) = 639 > 333, so 666 - 639 = 27.
  EXPECT_EQ(logo_origin(90.0, 640, 400, sample_size), (LogoPoint{405, 43}));
  EXPECT_EQ(logo_origin(90.0, 640, 400, sample_size), logo_origin(15.0, 640, 400, sample_size));
  EXPECT_NE(logo_origin(90.0, 640, 400, sample_size), logo_origin(29.999, 640, 400, sample_size));
}

TEST(LogoPath, NegativeOrUndefinedClockDrawsNothing) {
  EXPECT_FALSE(logo_origin(-0.001, 640, 400, sample_size).has_value());
  EXPECT_FALSE(logo_origin(std::numeric_limits<double>::quiet_NaN(), 640, 400, sample_size).has_value());
}

TEST(LogoPath, CanvasesNoLargerThanTheLogo) {
  // A free range of exactly 0 folds to not-a-number, which lands at 0.
  EXPECT_EQ(logo_origin(2.0, 182, 400, sample_size)->x, 0);
  EXPECT_EQ(logo_origin(2.0, 640, 67, sample_size)->y, 0);
  // A negative range keeps that axis at the margin; the other still bounces.
  EXPECT_EQ(logo_origin(2.0, 100, 400, sample_size), (LogoPoint{16, 151}));
  EXPECT_EQ(logo_origin(2.0, 0, 0, sample_size), (LogoPoint{16, 16}));
  EXPECT_EQ(logo_origin(95.0, 1, 1, sample_size), (LogoPoint{16, 16}));
}

TEST(SaturateToI32, HoldsTheBoundsAndMapsNaNToZero) {
  EXPECT_EQ(saturate_to_i32(106.0), 106);
  EXPECT_EQ(saturate_to_i32(-7.0), -7);
  EXPECT_EQ(saturate_to_i32(3e9), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(saturate_to_i32(-3e9), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(saturate_to_i32(std::numeric_limits<double>::infinity()),
            std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(saturate_to_i32(std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_EQ(saturate_to_i32(2147483647.0), 2147483647);
  EXPECT_EQ(saturate_to_i32(-2147483648.0), -2147483648LL);
}
