#include "ui/forms.h"

#include <exception>
#include <utility>

namespace pelmo::ui {

using engine::Engine;

Forms::Forms(Platform& platform, std::uint32_t seed, Compositor compositor)
    : platform_(platform),
      compositor_(std::move(compositor)),
      engine_(seed, platform.GetWorkArea()) {}

void Forms::Start() {
  Run([] {});
}

template <typename Handler>
void Forms::Run(Handler&& handler) {
  if (quit_) return;
  engine::Scene& scene = engine_.GetScene();
  scene.workArea = platform_.GetWorkArea();
  // Only the drag-follow step looks at the pointer; asking the display server
  // for it on every tick of an idle mascot would cost a round trip for nothing.
  if (engine_.State().dragging == 1) scene.pointer = platform_.CursorPos();
  // What a handler wrote before it failed stays, as it would on the desktop.
  try {
    handler();
  } catch (const std::exception& e) {
    ReportError(e.what());
  }
  try {
    Flush();
  } catch (const std::exception& e) {
    ReportError(e.what());
  }
}

void Forms::Flush() {
  engine::Scene& scene = engine_.GetScene();
  // Taken out first: the modal steps below let ticks run (and flush) meanwhile.
  const engine::Effects fx = std::exchange(scene.effects, {});
  for (const engine::CueEvent& cue : fx.cues) {
    if (cue.kind == engine::CueEvent::Kind::Stop) {
      platform_.StopCue();
    } else {
      platform_.PlayCue(cue.name);
    }
  }
  if (fx.releaseCapture) platform_.ReleaseMouse();
  if (fx.captureMouse) platform_.CaptureMouse();
  if (fx.dragCursor) platform_.SetDragCursor();
  if (fx.hideApplicationWindow) platform_.HideApplicationWindow();
  if (scene.Timer1Enabled != timerEnabled_) {
    timerEnabled_ = scene.Timer1Enabled;
    platform_.SetTimerEnabled(timerEnabled_);
  }
  if (scene.Form1Closed) {
    quit_ = true;
    platform_.RemoveTrayIcon();
    platform_.Quit();
    return;
  }
  for (WindowId window : kWindows) {
    const Presentation presentation = compositor_.Present(window, scene);
    if (presentation.changed) platform_.Present(window, presentation);
  }
  if (!fx.openUrl.empty()) platform_.OpenUrl(fx.openUrl);
  for (const engine::MessageBoxRequest& message : fx.messages)
    platform_.ShowMessage(message.text, message.caption);
  if (fx.popup != engine::PopupMenu::None) platform_.PopupMenu(fx.popup, platform_.CursorPos());
  if (fx.moveFoodForm) platform_.MoveFoodFormWithPointer();
}

void Forms::PresentAll() {
  if (quit_) return;
  for (WindowId window : kWindows)
    platform_.Present(window, compositor_.Present(window, engine_.GetScene()));
}

// The timer goes on while the box is open, and a fault that repeats on every
// tick must not pile up a box per tick.
void Forms::ReportError(std::string_view message) {
  if (errorShowing_) return;
  errorShowing_ = true;
  platform_.ShowError(message);
  errorShowing_ = false;
}

void Forms::OnTimer() {
  Run([this] { engine_.FireTimer1(); });
}

// The ticks are tried on a copy of the engine, so the real one is untouched.
int Forms::QuietTicksAhead(int limit) const {
  // A held mascot follows the pointer, which cannot be known ahead.
  if (quit_ || !timerEnabled_ || engine_.State().dragging != 0) return 0;
  // A tick writes no inputs, so any difference in the Scene is something shown,
  // played or asked of the platform.
  Engine ahead = engine_;
  for (int quiet = 0; quiet < limit; ++quiet) {
    try {
      ahead.FireTimer1();
    } catch (const std::exception&) {
      return quiet;  // the real tick will report it
    }
    if (!(ahead.GetScene() == engine_.GetScene())) return quiet;
  }
  return limit;
}

void Forms::OnMascotMouseDown(engine::MouseButton button) {
  Run([this, button] { engine_.PelmoImgMouseDown(button); });
}

void Forms::OnMascotMouseUp() {
  Run([this] { engine_.PelmoImgMouseUp(); });
}

void Forms::OnMascotDoubleClick() {
  Run([this] {
    engine_.EndClick();
    engine_.PelmoImgMouseDown(engine::MouseButton::Left);
  });
}

void Forms::OnFoodMouseDown() {
  Run([this] { engine_.FoodImgMouseDown(); });
}

void Forms::OnFoodFormMoved(engine::Point topLeft) {
  Run([this, topLeft] {
    engine_.GetScene().FoodForm.Left = topLeft.x;
    engine_.GetScene().FoodForm.Top = topLeft.y;
  });
}

void Forms::OnMenuItem(MenuItem item) {
  Run([this, item] {
    switch (item) {
      case MenuItem::End:
        return engine_.EndClick();
      case MenuItem::PopMini:
        return engine_.PopMiniClick();
      case MenuItem::N_Ame:
        return engine_.N_AmeClick();
      case MenuItem::N_Naruto:
        return engine_.N_NarutoClick();
      case MenuItem::N_Dango:
        return engine_.N_DangoClick();
      case MenuItem::N_Beer:
        return engine_.N_BeerClick();
      case MenuItem::Open:
        return engine_.OpenClick();
      case MenuItem::Exit:
        return engine_.ExitClick();
      case MenuItem::N_URL:
        return engine_.N_URLClick();
      case MenuItem::None:
      case MenuItem::MainFood:
        return;
    }
  });
}

void Forms::OnTrayNotify(std::int32_t lParam) {
  Run([this, lParam] { engine_.TrayNotify(lParam); });
}

void Forms::OnMinimize() {
  Run([this] { engine_.HideToTray(); });
}

void Forms::OnRestore() {
  Run([this] { engine_.ShowFromTray(); });
}

// Form1 spans the work area so that nothing the mascot draws is cut off; a
// larger desktop after start must not leave it clipped to the old one.
void Forms::OnWorkAreaChanged() {
  Run([this] {
    engine::Scene& scene = engine_.GetScene();
    const engine::Scene fresh = engine::InitialScene(scene.workArea);
    scene.Form1.Width = fresh.Form1.Width;
    scene.Form1.Height = fresh.Form1.Height;
  });
}

}  // namespace pelmo::ui
