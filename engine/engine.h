#pragma once

#include <cstdint>
#include <string_view>

#include "engine/mascot_state.h"
#include "engine/random.h"
#include "engine/scene.h"

namespace pelmo::engine {

// Tray notifications the program reacts to (the mouse message on the icon).
inline constexpr std::int32_t kTrayDoubleClick = 515;  // left-button double-click
inline constexpr std::int32_t kTrayRightUp = 517;      // right-button release

// The whole behaviour of the mascot: the state record, the generator and the
// Scene, with the tick and every handler that changes them. Nothing here talks
// to the platform; the effects a step asks for are left in Scene().effects.
class Engine {
 public:
  // Builds the four windows, seeds the generator and spans Form1 over `area`.
  Engine(std::uint32_t seed, const WorkArea& area);

  const MascotState& State() const { return state_; }
  MascotState& State() { return state_; }
  const Scene& GetScene() const { return scene_; }
  Scene& GetScene() { return scene_; }
  Random& Generator() { return random_; }

  // Runs one tick if Timer1 is enabled (and Form1 still open); otherwise nothing.
  void FireTimer1();
  // The behaviour tick itself.
  void Timer1Timer();

  // Pointer handlers of the mascot and the food.
  void PelmoImgMouseDown(MouseButton button);
  void PelmoImgMouseUp();
  void FoodImgMouseDown();

  // PopupMain.
  void EndClick();
  void PopMiniClick();
  void N_AmeClick();
  void N_NarutoClick();
  void N_DangoClick();
  void N_BeerClick();
  void ServeFood(FoodKind kind, std::string_view picture);

  // The hidden buttons the idle decision presses.
  void RainButtonClick();
  void SunButtonClick();

  // PopupTray and the tray icon.
  void OpenClick();
  void ExitClick();
  void N_URLClick();
  void TrayNotify(std::int32_t lParam);

  // The application's minimize and restore.
  void HideToTray();
  void ShowFromTray();

 private:
  void SteerToward(std::int32_t x, std::int32_t y);
  void DragFollowStep();
  void IdleStep();
  void WalkStep();
  void SleepStep();
  void EatStep();
  void SpinStep();
  void DrunkStep();
  void SplitStep();
  void RainStep();
  void SunStep();
  void DepartureStep();
  void ClosingStep();
  void RunModeStep();

  void CloseForm1();
  void FormClose();
  void PlayCue(std::string_view name);
  void StopCue();
  bool EvenTick() const { return state_.tick % 2 == 0; }

  MascotState state_;
  Random random_;
  Scene scene_;
};

}  // namespace pelmo::engine
