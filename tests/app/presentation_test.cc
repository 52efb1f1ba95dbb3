#include "app/presentation.h"

#include <gtest/gtest.h>

#include "base/sdl_owners.h"

namespace {

// Runs on SDL2's dummy video driver: a real window object without a display.
class PresentationTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    window_.reset(SDL_CreateWindow("vexal25-herald.cc", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 640,
                                   400, SDL_WINDOW_RESIZABLE));
    ASSERT_TRUE(window_) << SDL_GetError();
    renderer_.reset(SDL_CreateRenderer(window_.get(), -1, SDL_RENDERER_SOFTWARE));
    ASSERT_TRUE(renderer_) << SDL_GetError();
  }
  void TearDown() override {
    renderer_.reset();
    window_.reset();
    SDL_Quit();
  }
  Canvas canvas() const { return Canvas{window_.get(), renderer_.get()}; }

  WindowPtr window_;
  RendererPtr renderer_;
};

}  // namespace

#ifdef HERALD_LOGICAL_PRESENTATION
TEST_F(PresentationTest, LogicalSizeStays640x400WhateverTheWindow) {
  setup_presentation(canvas());
  CanvasSize size = presentation_size(canvas());
  EXPECT_EQ(size.width, 640);
  EXPECT_EQ(size.height, 400);
  SDL_SetWindowSize(window_.get(), 1280, 720);
  size = presentation_size(canvas());
  EXPECT_EQ(size.width, 640);
  EXPECT_EQ(size.height, 400);
}

TEST_F(PresentationTest, LogicalSizeBeforeSetUpIsZero) {
  // A query that reports nothing yields 0 x 0, never stale values.
  const CanvasSize size = presentation_size(canvas());
  EXPECT_EQ(size.width, 0);
  EXPECT_EQ(size.height, 0);
}
#else
TEST_F(PresentationTest, DrawableSizeFollowsTheWindow) {
  setup_presentation(canvas());
  CanvasSize size = presentation_size(canvas());
  EXPECT_EQ(size.width, 640);
  EXPECT_EQ(size.height, 400);
  SDL_SetWindowSize(window_.get(), 800, 600);
  size = presentation_size(canvas());
  EXPECT_EQ(size.width, 800);
  EXPECT_EQ(size.height, 600);
  SDL_SetWindowSize(window_.get(), 700, 450);
  size = presentation_size(canvas());
  EXPECT_EQ(size.width, 700);
  EXPECT_EQ(size.height, 450);
  // No logical size was set: the renderer draws in window pixels.
  int logical_w = -1, logical_h = -1;
  SDL_RenderGetLogicalSize(renderer_.get(), &logical_w, &logical_h);
  EXPECT_EQ(logical_w, 0);
  EXPECT_EQ(logical_h, 0);
}

TEST_F(PresentationTest, DrawableSizeWithoutWindowIsZero) {
  const CanvasSize size = presentation_size(Canvas{nullptr, renderer_.get()});
  EXPECT_EQ(size.width, 0);
  EXPECT_EQ(size.height, 0);
}
#endif
