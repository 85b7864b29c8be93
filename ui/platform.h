#pragma once

#include <string_view>

#include "engine/geometry.h"
#include "engine/scene.h"
#include "ui/compositor.h"

namespace pelmo::ui {

// What the portable wiring asks of a desktop. Each front-end (Win32, Qt)
// implements it with its own toolkit; none of these calls holds behaviour.
class Platform {
 public:
  virtual ~Platform() = default;

  // Inputs, read fresh whenever the behaviour needs them.
  virtual engine::Point CursorPos() = 0;
  virtual engine::WorkArea GetWorkArea() = 0;

  // Show, move, hide and repaint one sprite window.
  virtual void Present(WindowId window, const Presentation& presentation) = 0;

  // One sound channel: a new cue cuts the old one; StopCue silences it.
  virtual void PlayCue(std::string_view name) = 0;
  virtual void StopCue() = 0;

  virtual void SetDragCursor() = 0;  // the "MYCURSOR" strawberry
  virtual void CaptureMouse() = 0;   // the mascot window gets the release wherever it happens
  virtual void ReleaseMouse() = 0;
  virtual void HideApplicationWindow() = 0;  // no taskbar button
  virtual void SetTimerEnabled(bool enabled) = 0;

  // Modal interactions. Timer ticks keep arriving while they run; a chosen menu
  // item is reported to Forms::OnMenuItem after the menu has closed, and the food
  // window's new place to Forms::OnFoodFormMoved.
  virtual void PopupMenu(engine::PopupMenu menu, engine::Point at) = 0;
  virtual void MoveFoodFormWithPointer() = 0;
  virtual void ShowMessage(std::string_view text, std::string_view caption) = 0;
  virtual void ShowError(std::string_view text) = 0;  // captioned "Pelmo"

  virtual void OpenUrl(std::string_view url) = 0;
  virtual void RemoveTrayIcon() = 0;
  virtual void Quit() = 0;  // end the message loop
};

}  // namespace pelmo::ui
