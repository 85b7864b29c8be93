#include <gtest/gtest.h>

#include "rig.h"

namespace pelmo::engine {
namespace {

using testing::Rig;

// Serves `food` right next to the mascot and lets it walk there and eat.
void ServeAndEat(Rig& rig, void (Engine::*serve)()) {
  (rig.engine.*serve)();
  rig.PlaceFood(700, 500);  // the user drags it beside the mascot
  rig.PlaceMascot(705, 495);
  rig.Tick();  // Idle: within reach -> Walk
  ASSERT_EQ(rig.mode(), BehaviourMode::Walk);
  rig.Tick();  // arrived beside the food -> Eat, tick 0
  ASSERT_EQ(rig.mode(), BehaviourMode::Eat);
  ASSERT_EQ(rig.st().tick, 0);
}

TEST(Meal, ServingPlacesTheFoodWithTwoDrawsAndChangesNoMode) {
  Rig rig(9, {100, 200, 1100, 700});
  rig.st().SetMode(BehaviourMode::Spin);
  Random shadow(9);
  const Point place = shadow.RandomWorkAreaPoint({100, 200, 1100, 700});
  rig.engine.N_DangoClick();
  EXPECT_EQ(rig.st().food, 3);
  EXPECT_EQ(rig.sc().FoodForm.Left, place.x);
  EXPECT_EQ(rig.sc().FoodForm.Top, place.y);
  EXPECT_EQ(rig.sc().FoodImg.Picture, "BMP_DANGO");
  EXPECT_EQ(rig.mode(), BehaviourMode::Spin);
}

TEST(Meal, SecondFoodIsRefusedWithTheMessageAndNothingElse) {
  Rig rig;
  rig.engine.N_BeerClick();
  const Scene before = rig.sc();
  const std::uint32_t state = rig.engine.Generator().State();
  rig.engine.N_AmeClick();
  ASSERT_EQ(rig.sc().effects.messages.size(), 1u);
  EXPECT_EQ(rig.sc().effects.messages[0].text, "ご飯はひとつづつしか置けません．");
  EXPECT_EQ(rig.sc().effects.messages[0].caption, "飼い主の方へ");
  EXPECT_EQ(rig.st().food, 4);
  EXPECT_EQ(rig.sc().FoodForm.Left, before.FoodForm.Left);
  EXPECT_EQ(rig.sc().FoodForm.Top, before.FoodForm.Top);
  EXPECT_EQ(rig.sc().FoodImg.Picture, "BMP_BEER");
  EXPECT_EQ(rig.engine.Generator().State(), state);
}

TEST(Meal, ElevenTicksBesideTheFoodThenTheAfterEffect) {
  struct Case {
    void (Engine::*serve)();
    BehaviourMode after;
  };
  for (const Case c : {Case{&Engine::N_AmeClick, BehaviourMode::Sleep},
                       Case{&Engine::N_NarutoClick, BehaviourMode::Spin},
                       Case{&Engine::N_DangoClick, BehaviourMode::Split},
                       Case{&Engine::N_BeerClick, BehaviourMode::Drunk}}) {
    Rig rig;
    ServeAndEat(rig, c.serve);
    for (int t = 1; t <= 10; ++t) {
      if (t == 4) rig.PlaceFood(900, 300);  // dragged mid-meal: the mascot follows
      rig.Tick();
      ASSERT_EQ(rig.mode(), BehaviourMode::Eat);
      EXPECT_EQ(rig.picture(), t % 2 ? "BMP_EAT2" : "BMP_EAT1");
      EXPECT_EQ(rig.sc().Form1.Left, rig.sc().FoodForm.Left - 5);
      EXPECT_EQ(rig.sc().Form1.Top, rig.sc().FoodForm.Top + 5);
    }
    rig.Tick();  // the eleventh
    EXPECT_EQ(rig.mode(), c.after);
    EXPECT_EQ(rig.st().tick, 0);
    EXPECT_EQ(rig.st().food, 0);
    EXPECT_TRUE(rig.sc().FoodImg.Picture.empty());
    EXPECT_EQ(rig.picture(), "BMP_EAT2");
    rig.engine.N_AmeClick();  // a new food can be served at once
    EXPECT_EQ(rig.st().food, 1);
    EXPECT_TRUE(rig.sc().effects.messages.empty());
  }
}

TEST(Meal, SpinAndDrunkShowTheirFramesFromTickTwenty) {
  for (const auto& [serve, even, odd] :
       {std::tuple{&Engine::N_NarutoClick, "BMP_GURU1", "BMP_GURU2"},
        std::tuple{&Engine::N_BeerClick, "BMP_DRUNK1", "BMP_DRUNK2"}}) {
    Rig rig;
    ServeAndEat(rig, serve);
    rig.Tick(11);
    rig.Tick(18);
    EXPECT_EQ(rig.st().tick, 18);
    rig.Tick();
    EXPECT_EQ(rig.picture(), "BMP_EAT2") << "nothing changes before tick 20";
    rig.Tick();
    EXPECT_EQ(rig.picture(), even);
    rig.Tick();
    EXPECT_EQ(rig.picture(), odd);
    rig.Tick(1000);
    EXPECT_NE(rig.mode(), BehaviourMode::Idle) << "no end of its own";
  }
}

TEST(Meal, DangoSplitsOnItsTimelineAndReturnsToIdleAtOneEighty) {
  Rig rig;
  ServeAndEat(rig, &Engine::N_DangoClick);
  rig.Tick(11);
  rig.TakeCues();
  rig.Tick(19);
  EXPECT_EQ(rig.picture(), "BMP_EAT2");
  EXPECT_TRUE(rig.TakeCues().empty());
  rig.Tick();
  EXPECT_EQ(rig.picture(), "BMP_BUNRETSU1");
  EXPECT_EQ(rig.TakeCues(), std::vector<std::string_view>{"SND_INSERT"});
  rig.Tick(79);
  EXPECT_EQ(rig.picture(), "BMP_BUNRETSU1");
  rig.Tick();
  EXPECT_EQ(rig.picture(), "BMP_BUNRETSU2");
  rig.Tick(40);
  EXPECT_EQ(rig.picture(), "BMP_BUNRETSU3");
  rig.Tick(39);
  EXPECT_EQ(rig.mode(), BehaviourMode::Split);
  rig.Tick();
  EXPECT_EQ(rig.picture(), "BMP_NANAME");
  EXPECT_EQ(rig.mode(), BehaviourMode::Idle);
  EXPECT_EQ(rig.st().tick, 180);
  EXPECT_TRUE(rig.TakeCues().empty());
}

TEST(Meal, PickingTheMascotUpEndsTheMealButKeepsTheFood) {
  Rig rig;
  ServeAndEat(rig, &Engine::N_NarutoClick);
  rig.Tick(5);
  rig.engine.PelmoImgMouseDown(MouseButton::Left);
  EXPECT_EQ(rig.mode(), BehaviourMode::Idle);
  EXPECT_EQ(rig.st().tick, 0);
  EXPECT_EQ(rig.st().food, 2);
  EXPECT_EQ(rig.TakeCues(), std::vector<std::string_view>{"SND_CHIMES"});
  rig.engine.PelmoImgMouseUp();
  rig.Tick();  // Idle again: the food is still within reach
  EXPECT_EQ(rig.mode(), BehaviourMode::Walk);
  EXPECT_EQ(rig.sc().FoodImg.Picture, "BMP_NARUTO");
}

TEST(Meal, FoodServedDuringSleepWaitsForTheWakeUp) {
  Rig rig;
  rig.st().SetMode(BehaviourMode::Sleep);
  rig.engine.N_AmeClick();
  rig.PlaceFood(300, 300);
  rig.PlaceMascot(100, 100);
  rig.Tick(100);
  EXPECT_EQ(rig.mode(), BehaviourMode::Sleep);
  rig.engine.PelmoImgMouseDown(MouseButton::Left);
  rig.engine.PelmoImgMouseUp();
  rig.Tick();
  EXPECT_EQ(rig.mode(), BehaviourMode::Walk);
  EXPECT_EQ(rig.st().targetX, 300);
  EXPECT_EQ(rig.st().targetY, 300);
}

}  // namespace
}  // namespace pelmo::engine
