#include <gtest/gtest.h>

#include <cmath>

#include "engine/steering.h"
#include "rig.h"

namespace pelmo::engine {
namespace {

using testing::Rig;

TEST(Departure, CriesBecomesAnAngelAndRisesSwaying) {
  Rig rig;
  rig.PlaceMascot(500, 300);
  rig.engine.EndClick();
  rig.Tick();
  EXPECT_EQ(rig.picture(), "BMP_NAKI");
  EXPECT_EQ(rig.TakeCues(), std::vector<std::string_view>{"SND_BAR"});
  EXPECT_EQ(rig.sc().Edit2, "8");
  rig.Tick(8);
  EXPECT_EQ(rig.picture(), "BMP_NAKI");
  EXPECT_TRUE(rig.TakeCues().empty());
  EXPECT_EQ(rig.sc().Form1.Top, 300);
  rig.Tick();  // 10
  EXPECT_EQ(rig.picture(), "BMP_ANGEL");
  EXPECT_EQ(rig.sc().PelmoImg.Width, 100);
  EXPECT_EQ(rig.sc().PelmoImg.Height, 150);
  EXPECT_EQ(rig.TakeCues(), std::vector<std::string_view>{"SND_SHUTDOWN"});

  const std::int32_t lefts[] = {505, 514, 523, 528, 528, 522, 512, 502, 496, 495};
  for (int i = 0; i < 10; ++i) {
    rig.Tick();
    EXPECT_EQ(rig.sc().Form1.Top, 300 - 8 * (i + 1)) << "tick " << 11 + i;
    EXPECT_EQ(rig.sc().Form1.Left, lefts[i]) << "tick " << 11 + i;
    EXPECT_EQ(rig.sc().PelmoImg.Height, 150) << "the closing step leaves the angel's size";
  }
}

TEST(Departure, SumIsTruncatedTowardZero) {
  for (const auto& [left, expected] : {std::pair{-3, -8}, std::pair{3, -2}}) {
    Rig rig;
    rig.PlaceMascot(left, 300);
    rig.engine.EndClick();
    rig.Tick(15);
    rig.sc().Form1.Left = left;
    rig.Tick();  // tick 16: 10 * sin(10.048) = -5.84
    EXPECT_EQ(rig.sc().Form1.Left, expected) << left;
  }
}

TEST(Departure, ClosesOnTheFirstTickAboveMinusOneFifty) {
  for (const auto& [top, closingTick] : {std::pair{0, 29}, std::pair{500, 92}}) {
    Rig rig;
    rig.PlaceMascot(100, top);
    rig.engine.EndClick();
    int tick = 0;
    while (!rig.sc().Form1Closed && tick < 1000) {
      rig.Tick();
      ++tick;
    }
    EXPECT_EQ(tick, closingTick) << top;
    EXPECT_LT(rig.sc().Form1.Top, -150);
    EXPECT_FALSE(rig.sc().Timer1Enabled);
    rig.Tick(5);
    EXPECT_EQ(rig.st().tick, closingTick) << "no tick after the close";
  }
  Rig gone;  // already off the screen: closed on the first departure tick
  gone.PlaceMascot(0, -151);
  gone.engine.EndClick();
  gone.Tick();
  EXPECT_TRUE(gone.sc().Form1Closed);
  EXPECT_EQ(gone.picture(), "BMP_NAKI");
  EXPECT_EQ(gone.TakeCues(), std::vector<std::string_view>{"SND_BAR"});
}

TEST(Departure, PressRestartsItAndTheDragFollowsAfterTheDepartureStep) {
  Rig rig;
  rig.PlaceMascot(500, 300);
  rig.engine.EndClick();
  rig.Tick(12);
  rig.sc().pointer = {800, 350};
  rig.engine.PelmoImgMouseDown(MouseButton::Left);
  EXPECT_EQ(rig.mode(), BehaviourMode::Depart);
  EXPECT_EQ(rig.st().tick, 0);
  EXPECT_EQ(rig.st().dragging, 1);
  rig.TakeCues();
  rig.Tick();
  EXPECT_EQ(rig.TakeCues(), std::vector<std::string_view>{"SND_BAR"}) << "crying again";
  EXPECT_EQ(rig.picture(), "BMP_MIGI2") << "the facing frame replaces the crying one";
  EXPECT_EQ(rig.sc().PelmoImg.Width, 150);
  rig.Tick(9);  // 10: the angel's size and sound come while held
  EXPECT_EQ(rig.sc().PelmoImg.Height, 150);
  EXPECT_EQ(rig.TakeCues(), std::vector<std::string_view>{"SND_SHUTDOWN"});
  // 11: the departure rises 8 and sways first, then the drag steps from there.
  const std::int32_t risen = rig.sc().Form1.Top - 8;
  const std::int32_t swayed =
      static_cast<std::int32_t>(10 * std::sin(11 * 6.28 * 0.1) + rig.sc().Form1.Left);
  rig.Tick();
  EXPECT_NE(rig.picture(), "BMP_ANGEL");
  EXPECT_EQ(rig.sc().Form1.Top, risen + AxisStep(300 - risen));
  EXPECT_EQ(rig.sc().Form1.Left, swayed + AxisStep(770 - swayed));
  rig.engine.PelmoImgMouseUp();
  rig.Tick();
  EXPECT_EQ(rig.st().tick, 12) << "after the release it goes on without starting over";
  EXPECT_EQ(rig.picture(), "BMP_ANGEL");
}

TEST(Departure, DoubleClickStartsItWithTheChimesThenTheBar) {
  Rig rig;
  // What the toolkit delivers: press, release, then EndClick and the second press.
  rig.engine.PelmoImgMouseDown(MouseButton::Left);
  rig.engine.PelmoImgMouseUp();
  rig.engine.EndClick();
  EXPECT_EQ(rig.st().dragging, 0);
  rig.engine.PelmoImgMouseDown(MouseButton::Left);
  EXPECT_EQ(rig.mode(), BehaviourMode::Depart);
  EXPECT_EQ(rig.st().dragging, 1);
  EXPECT_EQ(rig.st().tick, 0);
  EXPECT_EQ(rig.TakeCues(), (std::vector<std::string_view>{"SND_CHIMES", "SND_CHIMES"}));
  rig.engine.PelmoImgMouseUp();
  rig.Tick();
  EXPECT_EQ(rig.TakeCues(), std::vector<std::string_view>{"SND_BAR"});
  EXPECT_EQ(rig.st().tick, 1);
}

}  // namespace
}  // namespace pelmo::engine
