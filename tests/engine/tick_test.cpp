#include <gtest/gtest.h>

#include "rig.h"

namespace pelmo::engine {
namespace {

using testing::Rig;
using testing::SeedWhere;

// A seed whose first Idle tick decides nothing (no draw below any bound).
std::uint32_t QuietSeed() {
  return SeedWhere([](Random& r) {
    return r.NextRandom() % 1000 >= 20 && r.NextRandom() % 1000 >= 5 &&
           r.NextRandom() % 1000 >= 4 && r.NextRandom() % 1000 >= 4;
  });
}

TEST(Tick, StartsWithTheWindowsAsCreated) {
  Rig rig(0, {40, 30, 1320, 770});  // taskbar at the top and left
  const Scene& s = rig.sc();
  EXPECT_EQ(s.Form1.Left, 40);
  EXPECT_EQ(s.Form1.Top, 30);
  EXPECT_EQ(s.Form1.Width, 1280);
  EXPECT_EQ(s.Form1.Height, 740);
  EXPECT_TRUE(s.Form1.Visible);
  EXPECT_EQ(s.PelmoImg.Picture, "BMP_BASIC1");
  EXPECT_TRUE(s.FoodForm.Visible);
  EXPECT_TRUE(s.FoodImg.Picture.empty());
  EXPECT_FALSE(s.RainForm.Visible);
  EXPECT_EQ(s.RainImg.Top, -500);
  EXPECT_EQ(s.CloudImg.Picture, "BMP_CLOUD1");
  EXPECT_FALSE(s.SunForm.Visible);
  EXPECT_TRUE(s.Img.Transparent);
  EXPECT_EQ(s.Edit2, "Edit2");
  EXPECT_TRUE(s.Timer1Enabled);
  EXPECT_EQ(rig.st().tick, 0);
}

TEST(Tick, FirstTickRunsTheIdleDecisionAndWritesTheModeReadout) {
  const std::uint32_t seed = QuietSeed();
  Rig rig(seed);
  rig.Tick();
  EXPECT_EQ(rig.st().tick, 1);
  EXPECT_EQ(rig.mode(), BehaviourMode::Idle);
  EXPECT_EQ(rig.sc().Edit2, "0");
  Random shadow(seed);
  for (int stage = 0; stage < 4; ++stage) shadow.NextRandom();
  EXPECT_EQ(rig.engine.Generator().State(), shadow.State()) << "all four stages drew";
}

TEST(Tick, SleepResetsTheImageBoundsOnEveryTick) {
  Rig rig;
  rig.st().SetMode(BehaviourMode::Sleep);
  rig.sc().PelmoImg = {7, 9, 300, 200, true, false, "BMP_BIG"};
  rig.Tick();
  EXPECT_EQ(rig.sc().Edit2, "-1");
  EXPECT_EQ(rig.sc().PelmoImg.Left, 0);
  EXPECT_EQ(rig.sc().PelmoImg.Top, 0);
  EXPECT_EQ(rig.sc().PelmoImg.Width, 150);
  EXPECT_EQ(rig.sc().PelmoImg.Height, 100);
  EXPECT_TRUE(rig.sc().PelmoImg.Stretch) << "the closing step leaves Stretch alone";
  EXPECT_EQ(rig.picture(), "BMP_SLEEP2");
  rig.Tick();
  EXPECT_EQ(rig.picture(), "BMP_SLEEP1");
}

TEST(Tick, HiddenMascotFreezesAndCarriesOnWhereItStopped) {
  Rig rig;
  rig.st().SetMode(BehaviourMode::Walk);
  rig.st().targetX = 900;
  rig.st().targetY = 700;
  rig.Tick(3);
  const MascotState before = rig.st();
  const std::int32_t left = rig.sc().Form1.Left;
  rig.engine.PopMiniClick();
  EXPECT_FALSE(rig.sc().Form1.Visible);
  EXPECT_FALSE(rig.sc().Timer1Enabled);
  EXPECT_EQ(rig.TakeCues(), std::vector<std::string_view>{"stop"});
  rig.Tick(50);  // the timer is off: nothing runs
  EXPECT_EQ(rig.st().tick, before.tick);
  EXPECT_EQ(rig.sc().Form1.Left, left);
  rig.engine.TrayNotify(kTrayDoubleClick);
  EXPECT_TRUE(rig.sc().Form1.Visible);
  rig.Tick();
  EXPECT_EQ(rig.st().tick, before.tick + 1);
  EXPECT_EQ(rig.mode(), BehaviourMode::Walk);
  EXPECT_EQ(rig.sc().Form1.Left, left + 10);
}

TEST(Tick, PressDuringRainKeepsTheSwellingUntilTheFirstTickAfterRelease) {
  Rig rig;
  rig.PlaceMascot(800, 600);
  rig.engine.RainButtonClick();
  rig.Tick(60);
  const std::int32_t width = rig.sc().PelmoImg.Width;
  ASSERT_GT(width, 150);
  rig.engine.PelmoImgMouseDown(MouseButton::Middle);
  EXPECT_EQ(rig.mode(), BehaviourMode::Idle);
  rig.Tick(5);
  EXPECT_TRUE(rig.sc().RainForm.Visible) << "no closing step while held";
  EXPECT_EQ(rig.sc().PelmoImg.Width, width);
  EXPECT_EQ(rig.sc().Edit2, "0");
  rig.engine.PelmoImgMouseUp();
  rig.Tick();
  EXPECT_FALSE(rig.sc().RainForm.Visible);
  EXPECT_EQ(rig.sc().RainImg.Top, -500);
  EXPECT_EQ(rig.sc().PelmoImg.Width, 150);
  EXPECT_EQ(rig.sc().PelmoImg.Height, 100);
  EXPECT_TRUE(rig.sc().PelmoImg.Stretch) << "an interrupted episode leaves Stretch on";
}

}  // namespace
}  // namespace pelmo::engine
