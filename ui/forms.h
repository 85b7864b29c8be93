#pragma once

#include <cstdint>
#include <string_view>

#include "engine/engine.h"
#include "ui/compositor.h"
#include "ui/menus.h"
#include "ui/platform.h"

namespace pelmo::ui {

// The application title, also the caption of the general error box and the tray tip.
inline constexpr std::string_view kTitle = "Pelmo";

// The four forms' wiring, shared by both front-ends: turns platform events into
// engine handler calls, then carries out what they asked for and presents the
// windows that changed. Any error escaping a handler is shown once, captioned
// "Pelmo", and the program goes on.
class Forms {
 public:
  Forms(Platform& platform, std::uint32_t seed, Compositor compositor = Compositor());

  // Shows the windows as they start: Form1 and FoodForm visible.
  void Start();

  void OnTimer();  // Timer1
  void OnMascotMouseDown(engine::MouseButton button);
  void OnMascotMouseUp();
  void OnMascotDoubleClick();  // delivered before the mouse-down of the same press
  void OnFoodMouseDown();
  void OnFoodFormMoved(engine::Point topLeft);
  void OnMenuItem(MenuItem item);
  void OnTrayNotify(std::int32_t lParam);
  void OnMinimize();
  void OnRestore();
  void OnWorkAreaChanged();

  // How many of the coming timer ticks, at most `limit`, would change nothing
  // the user sees or hears: only the mascot's inner state. A front-end need not
  // wake up for them, as long as it runs them before the tick after them and
  // before any other handler.
  int QuietTicksAhead(int limit) const;

  // Presents every window as it stands, changed or not: for a front-end whose
  // windows were made anew.
  void PresentAll();

  const engine::Engine& GetEngine() const { return engine_; }
  bool Closed() const { return engine_.GetScene().Form1Closed; }

 private:
  template <typename Handler>
  void Run(Handler&& handler);
  void Flush();
  void ReportError(std::string_view message);

  Platform& platform_;
  Compositor compositor_;
  engine::Engine engine_;
  bool timerEnabled_ = true;
  bool errorShowing_ = false;
  bool quit_ = false;
};

}  // namespace pelmo::ui
