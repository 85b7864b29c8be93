#pragma once

#include <QMenu>
#include <QPoint>
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
  // (timers keep firing meanwhile); returns the chosen item, or None.
  MenuItem Choose(engine::PopupMenu menu, QPoint at);

 private:
  std::unique_ptr<QMenu> main_;
  std::unique_ptr<QMenu> tray_;
};

}  // namespace pelmo::ui::qt
