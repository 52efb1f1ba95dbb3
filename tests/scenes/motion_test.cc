#include "scenes/motion.h"

#include <gtest/gtest.h>

#include <cmath>

#include "scenes/texts.h"

TEST(MarqueePen, StartsAt18AndMovesRightAt32PerSecond) {
  EXPECT_DOUBLE_EQ(marquee_start_pen(18.0, 640), 18.0);
  EXPECT_DOUBLE_EQ(marquee_start_pen(20.0, 640), 82.0);
  EXPECT_NEAR(marquee_start_pen(29.999, 640), 401.968, 1e-9);
  // The start pen itself wraps only once 32 (t - 18) + 18 reaches W.
  EXPECT_NEAR(marquee_start_pen(29.999, 500), 401.968, 1e-9);
  EXPECT_DOUBLE_EQ(marquee_start_pen(29.9375, 400), 0.0);
  EXPECT_NEAR(marquee_start_pen(29.999, 400), 1.968, 1e-9);
  // With no width the pen is not a number; the glyph path places that at x 0.
  EXPECT_TRUE(std::isnan(marquee_start_pen(20.0, 0)));
}

TEST(MarqueePen, WrapsPerCharacterOnlyPastTheRightEdge) {
  EXPECT_DOUBLE_EQ(marquee_next_pen(480.0, 10.0, 500), 490.0);
  EXPECT_DOUBLE_EQ(marquee_next_pen(490.0, 10.0, 500), 500.0);  // at W, still on the right
  EXPECT_DOUBLE_EQ(marquee_next_pen(495.0, 10.0, 500), 5.0);
  EXPECT_DOUBLE_EQ(marquee_next_pen(495.0, 10.0, 640), 505.0);
}

TEST(Scroller, HeadlineTypesAndSwitchesForTheLastThreeQuarters) {
  EXPECT_EQ(typewriter_limit(headline_rate, 0.0), 0);          // one character at 30 s
  EXPECT_EQ(typewriter_limit(headline_rate, 0.106), 1);        // floor(1.007): two
  EXPECT_EQ(typewriter_limit(headline_rate, 0.105), 0);        // floor(0.9975)
  EXPECT_EQ(typewriter_limit(headline_rate, 22.0 / 9.5), 22);  // all 23
  EXPECT_EQ(headline_text(62.249 - 30.0), first_headline);
  EXPECT_EQ(headline_text(62.25 - 30.0), second_headline);
  EXPECT_EQ(headline_text(0.0), first_headline);
  EXPECT_EQ(headline_text(62.999 - 30.0), second_headline);
}

TEST(Scroller, BlockEntersAtTheRightEdgeAtTwoSeconds) {
  EXPECT_DOUBLE_EQ(block_start_pen(32.0 - 30.0, 640), 640.0);
  EXPECT_DOUBLE_EQ(block_start_pen(32.0 - 30.0, 1920), 1920.0);
  EXPECT_DOUBLE_EQ(block_start_pen(0.0, 640), 1.15625 * 640);
  EXPECT_DOUBLE_EQ(block_start_pen(3.0, 640), 590.0);  // 50 px/s at 640
  EXPECT_DOUBLE_EQ(block_start_pen(33.0, 640), -910.0);
  EXPECT_EQ(block_line_base_y(0), 60);
  EXPECT_EQ(block_line_base_y(8), 252);
}

TEST(Greetings, HeaderChangesFontForTheGroupName) {
  EXPECT_EQ(header_font(0), Font::main);
  EXPECT_EQ(header_font(12), Font::main);
  EXPECT_EQ(header_font(13), Font::logo);
  EXPECT_EQ(header_font(21), Font::logo);
  EXPECT_EQ(header_font(22), Font::main);
  EXPECT_EQ(header_base_y(Font::logo), 16);
  EXPECT_EQ(header_base_y(Font::main), 24);
  // The name's first character comes into view when floor(10.75 g) reaches 13.
  EXPECT_EQ(typewriter_limit(greetings_rate, 13.0 / 10.75 - 0.001), 12);
  EXPECT_EQ(typewriter_limit(greetings_rate, 1.21), 13);
  EXPECT_EQ(typewriter_limit(greetings_rate, 25.0 / 10.75 + 1e-9), 25);
}

TEST(Greetings, RowsEnterFromTheRightNinetyPixelsApart) {
  EXPECT_DOUBLE_EQ(greeting_row_start_pen(0, 4.0, 640), 640.0);
  EXPECT_DOUBLE_EQ(greeting_row_start_pen(3, 4.0, 640), 910.0);
  EXPECT_DOUBLE_EQ(greeting_row_start_pen(1, 4.0, 800), 890.0);
  EXPECT_DOUBLE_EQ(greeting_row_start_pen(0, 0.0, 640), 640.0 + 0.3125 * 640.0);
  EXPECT_DOUBLE_EQ(greeting_row_start_pen(0, 6.0, 640), 540.0);
  EXPECT_EQ(greeting_row_base_y(0), 60);
  EXPECT_EQ(greeting_row_base_y(3), 132);
}

TEST(Greetings, RemarksKeepTheirDistanceFromTheBottom) {
  const RemarkPlace onsite = remark_place(0, 400);
  const RemarkPlace rest = remark_place(1, 400);
  const RemarkPlace sorry = remark_place(2, 400);
  EXPECT_EQ(onsite.text, remark_onsite);
  EXPECT_EQ(onsite.base_x, 18);
  EXPECT_EQ(onsite.base_y, 336);
  EXPECT_EQ(rest.text, remark_rest);
  EXPECT_EQ(rest.base_x, 24);
  EXPECT_EQ(rest.base_y, 368);
  EXPECT_EQ(sorry.text, remark_sorry);
  EXPECT_EQ(sorry.base_x, 18);
  EXPECT_EQ(sorry.base_y, 304);
  EXPECT_EQ(remark_place(1, 600).base_y, 568);
  // Lower than the distance, the 32-bit difference wraps to a line above the top edge.
  EXPECT_EQ(remark_place(0, 10).base_y, -54);
  EXPECT_EQ(remark_place(2, 0).base_y, -96);
}
