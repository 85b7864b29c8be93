#include "engine/engine.h"
#include "engine/picture_names.h"
#include "engine/texts.h"

namespace pelmo::engine {

void Engine::PelmoImgMouseDown(MouseButton button) {
  if (button == MouseButton::Right) {
    scene_.effects.popup = PopupMenu::PopupMain;
    return;
  }
  state_.dragging = 1;
  if (state_.Mode() != BehaviourMode::Depart) state_.SetMode(BehaviourMode::Idle);
  state_.tick = 0;
  PlayCue(names::kChimes);
  // The mascot lags behind the pointer, so the release must reach us wherever it happens.
  scene_.effects.captureMouse = true;
}

void Engine::PelmoImgMouseUp() {
  scene_.effects.releaseCapture = true;
  state_.dragging = 0;
}

void Engine::FoodImgMouseDown() {
  scene_.effects.releaseCapture = true;
  scene_.effects.moveFoodForm = true;
}

void Engine::PopMiniClick() {
  HideToTray();
}

void Engine::HideToTray() {
  StopCue();
  scene_.Form1.Visible = false;
  scene_.effects.hideApplicationWindow = true;
  scene_.Timer1Enabled = false;
}

void Engine::ShowFromTray() {
  scene_.Form1.Visible = true;
  scene_.Timer1Enabled = true;
}

void Engine::OpenClick() {
  ShowFromTray();
}

void Engine::ExitClick() {
  CloseForm1();
}

void Engine::N_URLClick() {
  scene_.effects.openUrl = texts::kHomePage;
}

void Engine::TrayNotify(std::int32_t lParam) {
  if (lParam == kTrayDoubleClick) {
    ShowFromTray();
  } else if (lParam == kTrayRightUp) {
    scene_.effects.popup = PopupMenu::PopupTray;
  }
}

void Engine::CloseForm1() {
  if (scene_.Form1Closed) return;
  FormClose();
  scene_.Form1Closed = true;
}

// The front-end removes the tray icon and ends the message loop once it sees
// Form1Closed; here only the timer stops.
void Engine::FormClose() {
  scene_.Timer1Enabled = false;
}

}  // namespace pelmo::engine
