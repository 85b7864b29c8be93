#include <gtest/gtest.h>

#include "rig.h"

namespace pelmo::engine {
namespace {

using testing::Rig;

TEST(Handlers, RightPressOnlyOpensTheMenu) {
  Rig rig;
  rig.st().SetMode(BehaviourMode::Sleep);
  rig.st().tick = 17;
  rig.engine.PelmoImgMouseDown(MouseButton::Right);
  EXPECT_EQ(rig.sc().effects.popup, PopupMenu::PopupMain);
  EXPECT_EQ(rig.mode(), BehaviourMode::Sleep);
  EXPECT_EQ(rig.st().tick, 17);
  EXPECT_EQ(rig.st().dragging, 0);
  EXPECT_TRUE(rig.sc().effects.cues.empty());
  EXPECT_FALSE(rig.sc().effects.captureMouse);
}

TEST(Handlers, LeftOrMiddlePressPicksUpAndReleaseLetsGo) {
  for (MouseButton button : {MouseButton::Left, MouseButton::Middle}) {
    Rig rig;
    rig.st().SetMode(BehaviourMode::Walk);
    rig.st().tick = 9;
    rig.engine.PelmoImgMouseDown(button);
    EXPECT_EQ(rig.mode(), BehaviourMode::Idle);
    EXPECT_EQ(rig.st().tick, 0);
    EXPECT_EQ(rig.st().dragging, 1);
    EXPECT_TRUE(rig.sc().effects.captureMouse);
    EXPECT_EQ(rig.TakeCues(), std::vector<std::string_view>{"SND_CHIMES"});
    rig.engine.PelmoImgMouseUp();
    EXPECT_EQ(rig.st().dragging, 0);
    EXPECT_TRUE(rig.sc().effects.releaseCapture);
  }
}

TEST(Handlers, TrayReactsToDoubleClickAndRightReleaseOnly) {
  Rig rig;
  rig.engine.HideToTray();
  EXPECT_TRUE(rig.sc().effects.hideApplicationWindow);
  for (std::int32_t other : {512, 513, 514, 516, 518, 0}) {
    rig.engine.TrayNotify(other);
    EXPECT_FALSE(rig.sc().Form1.Visible) << other;
    EXPECT_EQ(rig.sc().effects.popup, PopupMenu::None) << other;
  }
  rig.engine.TrayNotify(kTrayRightUp);
  EXPECT_EQ(rig.sc().effects.popup, PopupMenu::PopupTray);
  rig.engine.OpenClick();
  EXPECT_TRUE(rig.sc().Form1.Visible);
  EXPECT_TRUE(rig.sc().Timer1Enabled);
  rig.engine.OpenClick();  // opening a shown mascot changes nothing
  EXPECT_TRUE(rig.sc().Form1.Visible);
}

TEST(Handlers, HideLeavesTheOtherWindowsAsTheyAre) {
  Rig rig;
  rig.PlaceMascot(800, 800);
  rig.engine.RainButtonClick();
  rig.Tick(30);
  rig.engine.N_BeerClick();
  const Scene before = rig.sc();
  rig.engine.PopMiniClick();
  rig.Tick(10);
  EXPECT_TRUE(rig.sc().RainForm.Visible);
  EXPECT_EQ(rig.sc().RainImg.Top, before.RainImg.Top);
  EXPECT_EQ(rig.sc().FoodForm.Left, before.FoodForm.Left);
  EXPECT_EQ(rig.sc().FoodImg.Picture, "BMP_BEER");
}

TEST(Handlers, ExitClosesAtOnceAndTheHomePageHasItsPath) {
  Rig rig;
  rig.engine.N_URLClick();
  EXPECT_TRUE(rig.sc().effects.openUrl.ends_with("/pelmo/"));
  rig.engine.HideToTray();
  rig.engine.ExitClick();
  EXPECT_TRUE(rig.sc().Form1Closed);
  EXPECT_FALSE(rig.sc().Timer1Enabled);
  EXPECT_EQ(rig.mode(), BehaviourMode::Idle) << "no departure";
}

TEST(Handlers, FoodPressLetsTheUserMoveTheFoodWindow) {
  Rig rig;
  rig.engine.FoodImgMouseDown();
  EXPECT_TRUE(rig.sc().effects.releaseCapture);
  EXPECT_TRUE(rig.sc().effects.moveFoodForm);
}

}  // namespace
}  // namespace pelmo::engine
