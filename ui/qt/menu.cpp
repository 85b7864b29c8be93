#include "ui/qt/menu.h"

#include <QAction>
#include <span>

namespace pelmo::ui::qt {

namespace {

QString Caption(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

void AddEntries(QMenu& menu, std::span<const MenuEntry> entries) {
  for (const MenuEntry& entry : entries) {
    if (!entry.submenu.empty()) {
      AddEntries(*menu.addMenu(Caption(entry.caption)), entry.submenu);
      continue;
    }
    QAction* action = menu.addAction(Caption(entry.caption));
    action->setData(static_cast<int>(entry.item));
  }
}

std::unique_ptr<QMenu> BuildMenu(engine::PopupMenu which) {
  auto menu = std::make_unique<QMenu>();
  AddEntries(*menu, MenuEntries(which));
  return menu;
}

}  // namespace

PopupMenus::PopupMenus()
    : main_(BuildMenu(engine::PopupMenu::PopupMain)),
      tray_(BuildMenu(engine::PopupMenu::PopupTray)) {}

PopupMenus::~PopupMenus() = default;

MenuItem PopupMenus::Choose(engine::PopupMenu which, QPoint at) {
  QMenu* menu = which == engine::PopupMenu::PopupMain ? main_.get() : tray_.get();
  // A menu already open (one cannot be opened from inside another) stays the only one.
  if (which == engine::PopupMenu::None || main_->isVisible() || tray_->isVisible())
    return MenuItem::None;
  const QAction* chosen = menu->exec(at);
  if (chosen == nullptr || !chosen->data().isValid()) return MenuItem::None;
  return static_cast<MenuItem>(chosen->data().toInt());
}

}  // namespace pelmo::ui::qt
