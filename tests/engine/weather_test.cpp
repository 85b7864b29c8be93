#include <gtest/gtest.h>

#include "rig.h"

namespace pelmo::engine {
namespace {

using testing::Rig;

TEST(Rain, SwellsToItsLargestAtTickOneFortyNineAndEndsSmallerAndAskew) {
  Rig rig;
  rig.PlaceMascot(1000, 700);
  rig.engine.RainButtonClick();
  EXPECT_EQ(rig.sc().RainForm.Top, 300);
  EXPECT_EQ(rig.sc().RainForm.Left, 980);
  const std::string_view startPicture = rig.picture();

  rig.Tick(40);
  EXPECT_EQ(rig.sc().RainImg.Top, -500 + 9 * 40);
  EXPECT_EQ(rig.picture(), startPicture) << "the picture stays until the swelling";
  EXPECT_EQ(rig.sc().PelmoImg.Width, 150);
  rig.Tick();
  EXPECT_EQ(rig.picture(), "BMP_BIG");
  EXPECT_TRUE(rig.sc().PelmoImg.Stretch);

  rig.Tick(108);  // tick 149
  EXPECT_EQ(rig.st().tick, 149);
  EXPECT_EQ(rig.sc().PelmoImg.Width, 1240);
  EXPECT_EQ(rig.sc().PelmoImg.Height, 863);
  EXPECT_EQ(rig.sc().Form1.Left, 1000 - 545);
  EXPECT_EQ(rig.sc().Form1.Top, 700 - 327);
  EXPECT_EQ(rig.sc().RainImg.Top, 841);
  EXPECT_TRUE(rig.sc().RainForm.Visible);
  EXPECT_EQ(rig.sc().Edit2, "6");

  rig.Tick();  // 150: the cloud goes, the giant stays
  EXPECT_FALSE(rig.sc().RainForm.Visible);
  EXPECT_EQ(rig.sc().PelmoImg.Width, 1240);

  rig.Tick(79);  // 229
  EXPECT_EQ(rig.sc().PelmoImg.Width, 240);
  EXPECT_EQ(rig.sc().PelmoImg.Height, 163);
  EXPECT_EQ(rig.mode(), BehaviourMode::RainEpisode);

  rig.Tick();  // 230
  EXPECT_EQ(rig.mode(), BehaviourMode::Idle);
  EXPECT_EQ(rig.st().tick, 230);
  EXPECT_EQ(rig.picture(), "BMP_NANAME");
  EXPECT_FALSE(rig.sc().PelmoImg.Stretch);
  EXPECT_EQ(rig.sc().PelmoImg.Width, 150);
  EXPECT_EQ(rig.sc().PelmoImg.Height, 100);
  EXPECT_EQ(rig.sc().RainImg.Top, -500);
  EXPECT_EQ(rig.sc().Form1.Left, 1000 - 45);
  EXPECT_EQ(rig.sc().Form1.Top, 700 - 27);
}

TEST(Rain, NeedsTheMascotBelowFourHundred) {
  Rig rig;
  rig.PlaceMascot(500, 400);
  rig.engine.RainButtonClick();
  EXPECT_EQ(rig.mode(), BehaviourMode::Idle);
  EXPECT_FALSE(rig.sc().RainForm.Visible);
  rig.PlaceMascot(500, 401);
  rig.engine.RainButtonClick();
  EXPECT_EQ(rig.mode(), BehaviourMode::RainEpisode);
  EXPECT_EQ(rig.sc().RainForm.Top, 1);
}

TEST(Sun, ShrinksToAlmostNothingAndDepartsAtSeventy) {
  Rig rig(4, {0, 0, 1600, 900});
  rig.PlaceMascot(300, 500);
  rig.engine.SunButtonClick();
  EXPECT_TRUE(rig.sc().SunForm.Visible);
  rig.Tick(20);
  EXPECT_EQ(rig.sc().PelmoImg.Width, 150);
  EXPECT_EQ(rig.sc().Img.Picture, "BMP_SUN1");
  rig.Tick();
  EXPECT_EQ(rig.sc().Img.Picture, "BMP_SUN2");
  EXPECT_TRUE(rig.sc().PelmoImg.Stretch);
  EXPECT_EQ(rig.picture(), "BMP_BASIC1") << "the sun keeps the mascot's last frame";
  rig.Tick(48);  // 69
  EXPECT_EQ(rig.sc().PelmoImg.Width, 3);
  EXPECT_EQ(rig.sc().PelmoImg.Height, 2);
  EXPECT_EQ(rig.sc().Form1.Left, 349);
  EXPECT_EQ(rig.sc().Form1.Top, 549);
  EXPECT_TRUE(rig.sc().SunForm.Visible);

  rig.Tick();  // 70: the departure starts and this tick already hides the sun
  EXPECT_EQ(rig.mode(), BehaviourMode::Depart);
  EXPECT_EQ(rig.st().tick, 0);
  EXPECT_FALSE(rig.sc().SunForm.Visible);
  EXPECT_EQ(rig.sc().PelmoImg.Width, 3);

  rig.Tick();  // the departure's first tick
  EXPECT_EQ(rig.sc().PelmoImg.Width, 150);
  EXPECT_EQ(rig.sc().PelmoImg.Height, 100);
  EXPECT_EQ(rig.picture(), "BMP_NAKI");
  EXPECT_TRUE(rig.sc().PelmoImg.Stretch);
  EXPECT_EQ(rig.TakeCues(), std::vector<std::string_view>{"SND_BAR"});

  rig.Tick(200);  // left alone, the sun ends the program
  EXPECT_TRUE(rig.sc().Form1Closed);
  EXPECT_FALSE(rig.sc().Timer1Enabled);
}

TEST(Sun, PickingTheMascotUpIsTheOnlyWayToKeepIt) {
  Rig rig;
  rig.PlaceMascot(300, 500);
  rig.engine.SunButtonClick();
  rig.Tick(50);
  rig.engine.PelmoImgMouseDown(MouseButton::Left);
  rig.Tick(3);
  EXPECT_TRUE(rig.sc().SunForm.Visible) << "held: the sun stays, motionless";
  rig.engine.PelmoImgMouseUp();
  rig.Tick();
  EXPECT_FALSE(rig.sc().SunForm.Visible);
  EXPECT_EQ(rig.sc().PelmoImg.Width, 150);
  EXPECT_NE(rig.mode(), BehaviourMode::Depart);
}

TEST(Weather, EndClickDuringRainHidesItOnTheFirstDepartureTick) {
  Rig rig;
  rig.PlaceMascot(800, 800);
  rig.engine.RainButtonClick();
  rig.Tick(100);
  rig.engine.EndClick();
  rig.Tick();
  EXPECT_FALSE(rig.sc().RainForm.Visible);
  EXPECT_EQ(rig.sc().RainImg.Top, -500);
  EXPECT_EQ(rig.sc().PelmoImg.Width, 150);
  EXPECT_EQ(rig.sc().PelmoImg.Height, 100);
  EXPECT_EQ(rig.picture(), "BMP_NAKI");
}

}  // namespace
}  // namespace pelmo::engine
