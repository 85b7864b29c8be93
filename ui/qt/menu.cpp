#include "ui/qt/menu.h"

#include <QAction>
#include <QGuiApplication>
#include <QScreen>
#include <span>

#include "ui/qt/kept_window.h"

namespace pelmo::ui::qt {

namespace {

QString Caption(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

void AddEntries(QMenu& menu, std::span<const MenuEntry> entries) {
  KeepNativeWindow(menu);
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

// Takes the presses beside an open menu, which Qt then gives the menu as
// presses outside it. Drawn fully transparent; a press on it closes the menu
// and goes no further, as under the pointer grab a menu holds on a bare X server.
std::unique_ptr<QWidget> BuildCatcher() {
  auto catcher = std::make_unique<QWidget>(
      nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
  catcher->setAttribute(Qt::WA_TranslucentBackground);
  catcher->setAttribute(Qt::WA_ShowWithoutActivating);
  catcher->setWindowTitle("pelmo-menu-catcher");
  return catcher;
}

}  // namespace

PopupMenus::PopupMenus()
    : main_(BuildMenu(engine::PopupMenu::PopupMain)),
      tray_(BuildMenu(engine::PopupMenu::PopupTray)) {}

PopupMenus::~PopupMenus() = default;

MenuItem PopupMenus::Choose(engine::PopupMenu which, QPoint at, bool composited) {
  QMenu* menu = which == engine::PopupMenu::PopupMain ? main_.get() : tray_.get();
  // A menu already open (one cannot be opened from inside another) stays the only one.
  if (which == engine::PopupMenu::None || main_->isVisible() || tray_->isVisible())
    return MenuItem::None;
  if (composited) {
    // Built on first need: a bare X server never needs it.
    if (catcher_ == nullptr) catcher_ = BuildCatcher();
    const QScreen* screen = QGuiApplication::screenAt(at);
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    catcher_->setGeometry(screen->virtualGeometry());
    catcher_->show();
  }
  const QAction* chosen = menu->exec(at);
  if (catcher_ != nullptr) catcher_->hide();
  if (chosen == nullptr || !chosen->data().isValid()) return MenuItem::None;
  return static_cast<MenuItem>(chosen->data().toInt());
}

}  // namespace pelmo::ui::qt
