#pragma once

#include <QCursor>
#include <QElapsedTimer>
#include <QIcon>
#include <QTimer>
#include <array>
#include <memory>

#include "ui/display_scale.h"
#include "ui/forms.h"
#include "ui/platform.h"
#include "ui/qt/compositing.h"
#include "ui/qt/desktop_scale.h"
#include "ui/qt/menu.h"
#include "ui/qt/message_box.h"
#include "ui/qt/pointer_grab.h"
#include "ui/qt/pointer_query.h"
#include "ui/qt/session_signals.h"
#include "ui/qt/sound.h"
#include "ui/qt/tray.h"
#include "ui/qt/window.h"
#include "ui/tick_schedule.h"

namespace pelmo::ui::qt {

// The Platform on an X11 desktop through Qt 6 widgets. It holds no behaviour:
// it shows what Forms presents and turns Qt's events into Forms' handlers.
// Qt's scaling is off, so everything it reports and takes is in device pixels;
// on a scaled desktop they are mapped to and from the engine's here.
class QtPlatform : public Platform {
 public:
  explicit QtPlatform(const ScaleVariables& variables);
  ~QtPlatform() override;

  // Connects the windows, the tray, the timer and the screen to `forms`, which
  // must outlive this object, and starts the 100 ms timer.
  void Attach(Forms& forms);

  engine::Point CursorPos() override;
  engine::WorkArea GetWorkArea() override;
  void Present(WindowId window, const Presentation& presentation) override;
  void PlayCue(std::string_view name) override;
  void StopCue() override;
  void SetDragCursor() override;
  void CaptureMouse() override;
  void ReleaseMouse() override;
  void HideApplicationWindow() override;
  void SetTimerEnabled(bool enabled) override;
  void PopupMenu(engine::PopupMenu menu, engine::Point at) override;
  void MoveFoodFormWithPointer() override;
  void ShowMessage(std::string_view text, std::string_view caption) override;
  void ShowError(std::string_view text) override;
  void OpenUrl(std::string_view url) override;
  void RemoveTrayIcon() override;
  void Quit() override;

  bool UsesStatusWindow() const { return tray_ && tray_->UsesStatusWindow(); }

 private:
  SpriteWindow& Window(WindowId id) { return *windows_[static_cast<std::size_t>(id)]; }
  void WatchWorkArea();
  void FollowCompositing();
  static QRect PointerArea();
  void WatchScale();
  void OnDesktopChanged(bool workAreaChanged);
  bool Rescale();  // whether the scale changed
  QCursor ScaledDragCursor() const;
  void OnTimer();
  void Replan();
  template <typename Handler>
  void Input(Handler&& handler);

  Forms* forms_ = nullptr;
  std::unique_ptr<CompositingWatch> compositing_;
  std::unique_ptr<PointerGrab> grab_;  // the pointer while the mascot is held
  std::unique_ptr<PointerQuery> pointer_;
  ScaleVariables variables_;
  DisplayScale scale_;
  QFont baseFont_;
  std::unique_ptr<ResourceWatcher> resources_;
  std::array<std::unique_ptr<SpriteWindow>, 4> windows_;
  QIcon icon_;
  QPixmap dragPixmap_;
  QCursor dragCursor_;
  bool dragCursorShown_ = false;
  QTimer timer_;  // single-shot, set for the next tick that is not quiet
  QElapsedTimer clock_;
  TickSchedule schedule_;
  PopupMenus menus_;
  MessageBox messages_;
  CuePlayer sound_;
  std::unique_ptr<TrayIcon> tray_;
  std::unique_ptr<SessionSignals> sessionEnd_;
};

}  // namespace pelmo::ui::qt
