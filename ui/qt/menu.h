#pragma once

#include <QMenu>
#include <QPoint>
#include <QWidget>
#include <memory>

#include "engine/scene.h"
#include "ui/menus.h"

namespace pelmo::ui::qt {

// The two popup menus, built once from the shared captions.
class PopupMenus {
 public:
  PopupMenus();
  ~PopupMenus();

  // Opens the menu with its top-left corner at `at` and waits until it closes
  // (timers keep firing meanwhile); returns the chosen item, or None. Where a
  // compositor draws the screen, a transparent window covers it while the menu
  // is open, so that a click beside the menu closes it even on a native
  // Wayland window, of which XWayland would tell the menu nothing.
  MenuItem Choose(engine::PopupMenu menu, QPoint at, bool composited);

 private:
  std::unique_ptr<QMenu> main_;
  std::unique_ptr<QMenu> tray_;
  std::unique_ptr<QWidget> catcher_;  // only where a compositor draws the screen
};

}  // namespace pelmo::ui::qt
