#include <gtest/gtest.h>

#include "rig.h"

namespace pelmo::engine {
namespace {

using testing::Rig;
using testing::SeedWhere;

TEST(Idle, WalksToAFoodWithinReachWithoutDrawing) {
  for (const auto& [dx, dy, walks] : {std::tuple{600, 399, true}, std::tuple{600, 400, false},
                                      std::tuple{-999, 0, true}, std::tuple{0, -1000, false}}) {
    Rig rig;
    rig.PlaceMascot(1000, 1000);
    rig.st().food = 2;
    rig.PlaceFood(1000 + dx, 1000 + dy);
    const std::uint32_t before = rig.engine.Generator().State();
    rig.Tick();
    EXPECT_EQ(rig.engine.Generator().State(), before) << "no draw while a food lies out";
    EXPECT_EQ(rig.mode() == BehaviourMode::Walk, walks) << dx << "," << dy;
    if (walks) {
      EXPECT_EQ(rig.st().targetX, 1000 + dx);
      EXPECT_EQ(rig.st().targetY, 1000 + dy);
    }
  }
}

TEST(Idle, StagesDrawInOrderAndTheFirstThatHoldsActs) {
  // Wander: the first draw below 20, then the target's x and y draws.
  const std::uint32_t wander = SeedWhere([](Random& r) { return r.NextRandom() % 1000 < 20; });
  Rig walker(wander);
  walker.Tick();
  Random shadow(wander);
  shadow.NextRandom();
  const Point target = shadow.RandomWorkAreaPoint({0, 0, 1920, 1040});
  EXPECT_EQ(walker.mode(), BehaviourMode::Walk);
  EXPECT_EQ(walker.st().targetX, target.x);
  EXPECT_EQ(walker.st().targetY, target.y);
  EXPECT_EQ(walker.engine.Generator().State(), shadow.State());

  // Sleep: a second draw below 5 after a first at or above 20.
  const std::uint32_t sleep =
      SeedWhere([](Random& r) { return r.NextRandom() % 1000 >= 20 && r.NextRandom() % 1000 < 5; });
  Rig sleeper(sleep);
  sleeper.Tick();
  EXPECT_EQ(sleeper.mode(), BehaviourMode::Sleep);
  EXPECT_EQ(sleeper.sc().Edit2, "-1");

  // A first draw of exactly 20 does not wander; 5 in the second stage does not sleep.
  const std::uint32_t edges = SeedWhere([](Random& r) {
    return r.NextRandom() % 1000 == 20 && r.NextRandom() % 1000 == 5 &&
           r.NextRandom() % 1000 >= 4 && r.NextRandom() % 1000 >= 4;
  });
  Rig idle(edges);
  idle.Tick();
  EXPECT_EQ(idle.mode(), BehaviourMode::Idle);
}

TEST(Idle, RainPressNeedsRoomAboveAndEndsTheDecisionEitherWay) {
  const std::uint32_t rain = SeedWhere([](Random& r) {
    return r.NextRandom() % 1000 >= 20 && r.NextRandom() % 1000 >= 5 && r.NextRandom() % 1000 < 4;
  });
  Rig low(rain);
  low.PlaceMascot(700, 401);
  low.Tick();
  EXPECT_EQ(low.mode(), BehaviourMode::RainEpisode);
  EXPECT_TRUE(low.sc().RainForm.Visible) << "the closing step sees the new mode";
  EXPECT_EQ(low.sc().RainForm.Top, 1);
  EXPECT_EQ(low.sc().RainForm.Left, 680);
  EXPECT_EQ(low.st().tick, 0);

  Rig high(rain);
  high.PlaceMascot(700, 400);
  high.Tick();
  EXPECT_EQ(high.mode(), BehaviourMode::Idle);
  EXPECT_FALSE(high.sc().RainForm.Visible);
  Random shadow(rain);
  for (int i = 0; i < 3; ++i) shadow.NextRandom();
  EXPECT_EQ(high.engine.Generator().State(), shadow.State()) << "no sun stage was drawn";
}

TEST(Idle, SunPressShowsTheSunInTheSameTick) {
  const std::uint32_t sun = SeedWhere([](Random& r) {
    return r.NextRandom() % 1000 >= 20 && r.NextRandom() % 1000 >= 5 &&
           r.NextRandom() % 1000 >= 4 && r.NextRandom() % 1000 < 4;
  });
  Rig rig(sun, {0, 0, 1600, 900});
  rig.sc().PelmoImg.Width = 90;  // a value the closing step would reset below mode 6
  rig.Tick();
  EXPECT_EQ(rig.mode(), BehaviourMode::SunEpisode);
  EXPECT_TRUE(rig.sc().SunForm.Visible);
  EXPECT_FALSE(rig.sc().RainForm.Visible);
  EXPECT_EQ(rig.sc().PelmoImg.Width, 90);
  EXPECT_GE(rig.sc().SunForm.Left, 1200);
  EXPECT_LE(rig.sc().SunForm.Left, 1299);
  EXPECT_GE(rig.sc().SunForm.Top, 0);
  EXPECT_LE(rig.sc().SunForm.Top, 99);
  EXPECT_EQ(rig.sc().Edit1, std::to_string(rig.sc().SunForm.Left));
  EXPECT_EQ(rig.sc().Edit2, "7") << "the mode readout overwrites the sun's top";
}

TEST(Walk, ArrivesAtTwentyAndEatsOnlyBesideTheFood) {
  // s = 20 arrives without moving; s = 21 takes a step.
  Rig arrive;
  arrive.PlaceMascot(500, 500);
  arrive.st().SetMode(BehaviourMode::Walk);
  arrive.st().targetX = 512;
  arrive.st().targetY = 508;
  arrive.sc().PelmoImg.Picture = "BMP_UE1";
  arrive.Tick();
  EXPECT_EQ(arrive.mode(), BehaviourMode::Idle);
  EXPECT_EQ(arrive.sc().Form1.Left, 500);
  EXPECT_EQ(arrive.picture(), "BMP_UE1") << "the arrival tick changes no picture";

  Rig step;
  step.PlaceMascot(500, 500);
  step.st().SetMode(BehaviourMode::Walk);
  step.st().targetX = 513;
  step.st().targetY = 508;
  step.Tick();
  EXPECT_EQ(step.mode(), BehaviourMode::Walk);
  EXPECT_EQ(step.sc().Form1.Left, 502);
  EXPECT_EQ(step.sc().Form1.Top, 501);

  for (const auto& [foodLeft, eats] : {std::pair{520, true}, std::pair{521, false}}) {
    Rig meal;
    meal.PlaceMascot(500, 500);
    meal.st().SetMode(BehaviourMode::Walk);
    meal.st().food = 1;
    meal.st().tick = 33;
    meal.st().targetX = 500;
    meal.st().targetY = 500;
    meal.PlaceFood(foodLeft, 500);
    meal.Tick();
    EXPECT_EQ(meal.mode(), eats ? BehaviourMode::Eat : BehaviourMode::Idle) << foodLeft;
    EXPECT_EQ(meal.st().tick, eats ? 0 : 34);
  }
}

TEST(Walk, EveryWalkEndsAndWanderTargetsStayInTheWorkArea) {
  Rig rig(77, {100, 50, 900, 650});
  int walks = 0;
  for (int i = 0; i < 20000; ++i) {
    rig.Tick();
    if (rig.mode() == BehaviourMode::Walk) {
      ++walks;
      ASSERT_GE(rig.st().targetX, 100);
      ASSERT_LT(rig.st().targetX, 900);
      ASSERT_GE(rig.st().targetY, 50);
      ASSERT_LT(rig.st().targetY, 650);
      int guard = 0;
      while (rig.mode() == BehaviourMode::Walk) {
        rig.Tick();
        ASSERT_LT(++guard, 500) << "a walk must end";
      }
    }
    if (rig.mode() != BehaviourMode::Idle) {  // sleep or weather: start over in Idle
      rig.engine.PelmoImgMouseDown(MouseButton::Left);
      rig.engine.PelmoImgMouseUp();
    }
  }
  EXPECT_GT(walks, 100);
}

}  // namespace
}  // namespace pelmo::engine
