#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/steering.h"
#include "rig.h"

namespace pelmo::engine {
namespace {

using testing::Rig;

TEST(AxisStep, FifthOfTheDistanceTruncatedAndBounded) {
  const std::pair<std::int64_t, std::int32_t> table[] = {
      {0, 0},   {4, 0},   {5, 1},     {-4, 0},         {-5, -1},           {9, 1},       {45, 9},
      {49, 9},  {50, 10}, {-50, -10}, {51, 10},        {1000, 10},         {-1000, -10}, {-49, -9},
      {-9, -1}, {40, 8},  {30, 6},    {1LL << 40, 10}, {-(1LL << 40), -10}};
  for (auto [d, step] : table) EXPECT_EQ(AxisStep(d), step) << "d=" << d;
}

TEST(FacingFrame, DirectionsAndTheExactDiagonals) {
  struct Case {
    std::int32_t sx, sy;
    std::string_view even, odd;
  };
  const Case cases[] = {
      {-5, 0, "BMP_BASIC1", "BMP_BASIC2"},   // left
      {0, 0, "BMP_BASIC1", "BMP_BASIC2"},    // standing still
      {5, 0, "BMP_MIGI1", "BMP_MIGI2"},      // right
      {0, -5, "BMP_UE1", "BMP_UE2"},         // up
      {0, 5, "BMP_SHITA1", "BMP_SHITA2"},    // down
      {6, 6, "BMP_SHITA1", "BMP_SHITA2"},    // down-right diagonal
      {-6, -6, "BMP_BASIC1", "BMP_BASIC2"},  // up-left diagonal
      {6, -6, "BMP_UE1", "BMP_UE2"},         // up-right diagonal
      {-6, 6, "BMP_BASIC1", "BMP_BASIC2"},   // down-left diagonal
      {8, 0, "BMP_MIGI1", "BMP_MIGI2"},      // 40 right and 3 up
      {0, 8, "BMP_SHITA1", "BMP_SHITA2"},    // 3 right and 40 down
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FacingFrame(c.sx, c.sy, 4), c.even) << c.sx << "," << c.sy;
    EXPECT_EQ(FacingFrame(c.sx, c.sy, 7), c.odd) << c.sx << "," << c.sy;
    EXPECT_EQ(FacingFrame(c.sx, c.sy, -3), c.odd) << "negative ticks are odd too";
  }
}

TEST(Walk, StepsAreComputedFromThePositionBeforeTheMove) {
  Rig rig;
  rig.PlaceMascot(100, 100);
  rig.st().SetMode(BehaviourMode::Walk);
  rig.st().targetX = 103;  // 3 right, 40 down: no horizontal step
  rig.st().targetY = 140;
  rig.Tick();
  EXPECT_EQ(rig.sc().Form1.Left, 100);
  EXPECT_EQ(rig.sc().Form1.Top, 108);
  EXPECT_EQ(rig.picture(), "BMP_SHITA2");  // tick 1 is odd

  rig.PlaceMascot(100, 100);
  rig.st().targetX = 130;  // 30 right, 30 down: 6 and 6, the down frames
  rig.st().targetY = 130;
  rig.Tick();
  EXPECT_EQ(rig.sc().Form1.Left, 106);
  EXPECT_EQ(rig.sc().Form1.Top, 106);
  EXPECT_EQ(rig.picture(), "BMP_SHITA1");
}

TEST(DragFollow, TrailsThePointerAndSettlesOnTheSideItCameFrom) {
  Rig rig;
  rig.PlaceMascot(600, 500);
  rig.sc().pointer = {300, 200};
  rig.engine.PelmoImgMouseDown(MouseButton::Left);
  rig.sc().effects = {};
  rig.Tick();
  // First tick of a drag is tick 1: a frame ending in "2", heading up-left.
  EXPECT_EQ(rig.st().tick, 1);
  EXPECT_EQ(rig.picture(), "BMP_BASIC2");
  EXPECT_EQ(rig.st().targetX, 270);
  EXPECT_EQ(rig.st().targetY, 150);
  EXPECT_EQ(rig.sc().Form1.Left, 590);
  EXPECT_EQ(rig.sc().Form1.Top, 490);
  EXPECT_TRUE(rig.sc().effects.dragCursor);

  for (int i = 0; i < 300; ++i) {
    rig.sc().effects.dragCursor = false;
    rig.Tick();
    ASSERT_TRUE(rig.sc().effects.dragCursor) << "the strawberry is set on every drag tick";
  }
  // The grip (30, 50 into the window) stops within 4 pixels, short of the pointer.
  const std::int32_t gripX = rig.sc().Form1.Left + 30;
  const std::int32_t gripY = rig.sc().Form1.Top + 50;
  EXPECT_GE(gripX - 300, 1);
  EXPECT_LE(gripX - 300, 4);
  EXPECT_GE(gripY - 200, 1);
  EXPECT_LE(gripY - 200, 4);
  // Settled: the standing frames alternate on every tick.
  rig.Tick();
  const std::string_view first = rig.picture();
  rig.Tick();
  EXPECT_NE(first, rig.picture());
  EXPECT_TRUE(first == "BMP_BASIC1" || first == "BMP_BASIC2");
  EXPECT_TRUE(rig.picture() == "BMP_BASIC1" || rig.picture() == "BMP_BASIC2");
  // While held, the closing step does not run, and the mode readout still does.
  EXPECT_EQ(rig.sc().Edit2, "0");
}

}  // namespace
}  // namespace pelmo::engine
