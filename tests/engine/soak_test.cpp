// Millions of ticks of random user actions, checking after every step that the
// state stays within what the program can represent and draw.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <unordered_set>

#include "engine/engine.h"
#include "engine/picture_names.h"

namespace pelmo::engine {
namespace {

long SoakTicks() {
  const char* env = std::getenv("PELMO_SOAK_TICKS");
  return env != nullptr ? std::atol(env) : 10'000'000L;
}

class Invariants {
 public:
  Invariants() : pictures_(names::kPictures.begin(), names::kPictures.end()) {}

  // An empty string when everything holds, else what broke.
  std::string Check(const Engine& engine) const {
    const MascotState& st = engine.State();
    const Scene& sc = engine.GetScene();
    if (st.mode < -1 || st.mode > 8) return "mode " + std::to_string(st.mode);
    if (st.food < 0 || st.food > 4) return "food " + std::to_string(st.food);
    if (st.dragging != 0 && st.dragging != 1) return "dragging " + std::to_string(st.dragging);
    for (std::string_view picture : {sc.PelmoImg.Picture, sc.RainImg.Picture, sc.CloudImg.Picture,
                                     sc.Img.Picture, sc.FoodImg.Picture}) {
      if (picture.empty() && picture.data() == sc.FoodImg.Picture.data()) continue;
      if (!pictures_.contains(picture)) return "picture '" + std::string(picture) + "'";
    }
    if (sc.FoodImg.Picture.empty() != (st.food == 0)) return "food picture and food disagree";
    return {};
  }

 private:
  std::unordered_set<std::string_view> pictures_;
};

TEST(Soak, RandomUserActionsKeepTheStateValid) {
  std::mt19937 dice(20261208);
  const Invariants invariants;
  const WorkArea desktops[] = {{0, 0, 1920, 1040}, {0, 40, 1280, 720}, {-1280, 0, 0, 1024},
                               {0, 0, 0, 0},       {100, 100, 50, 50}, {0, 0, 3840, 2120}};
  auto engine = std::make_unique<Engine>(dice(), desktops[0]);
  long restarts = 0;
  const long ticks = SoakTicks();
  for (long i = 0; i < ticks; ++i) {
    Scene& sc = engine->GetScene();
    // Most ticks nobody touches the mouse; now and then something happens.
    const std::uint32_t roll = dice() % 1000;
    if (roll < 30) {
      sc.pointer = {static_cast<std::int32_t>(dice() % 2400) - 200,
                    static_cast<std::int32_t>(dice() % 1400) - 200};
    } else if (roll < 34) {
      engine->PelmoImgMouseDown(static_cast<MouseButton>(dice() % 3));
    } else if (roll < 40) {
      engine->PelmoImgMouseUp();
    } else if (roll < 41) {
      engine->EndClick();
      engine->PelmoImgMouseDown(MouseButton::Left);
    } else if (roll < 45) {
      void (Engine::*foods[])() = {&Engine::N_AmeClick, &Engine::N_NarutoClick,
                                   &Engine::N_DangoClick, &Engine::N_BeerClick};
      (engine.get()->*foods[dice() % 4])();
    } else if (roll < 47) {
      sc.FoodForm.Left = static_cast<std::int32_t>(dice() % 2000);
      sc.FoodForm.Top = static_cast<std::int32_t>(dice() % 1100);
    } else if (roll < 48) {
      engine->PopMiniClick();
    } else if (roll < 52) {
      engine->TrayNotify(dice() % 2 ? kTrayDoubleClick : kTrayRightUp);
    } else if (roll < 53) {
      sc.workArea = desktops[dice() % std::size(desktops)];
    } else if (roll == 999 && dice() % 50 == 0) {
      engine->ExitClick();
    }
    engine->FireTimer1();
    sc.effects = {};
    const std::string broken = invariants.Check(*engine);
    ASSERT_TRUE(broken.empty()) << broken << " after step " << i;
    if (engine->GetScene().Form1Closed) {
      engine = std::make_unique<Engine>(dice(), desktops[dice() % std::size(desktops)]);
      ++restarts;
    }
  }
  RecordProperty("restarts", std::to_string(restarts));
  EXPECT_GT(restarts, 0) << "the soak should reach the end of the program now and then";
}

}  // namespace
}  // namespace pelmo::engine
