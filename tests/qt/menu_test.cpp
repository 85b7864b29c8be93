#include "ui/qt/menu.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPixmapCache>
#include <QTimer>

#include "tests/qt/off_screen_application.h"

namespace pelmo::ui::qt {
namespace {

class MenusOffScreen : public OffScreenApplication {};

// Keys pressed on whichever menu is open at the time, one after another, as
// the user presses them.
void PressOnOpenMenu(std::vector<Qt::Key> keys) {
  if (keys.empty()) return;
  QTimer::singleShot(0, [keys] {
    QWidget* menu = QApplication::activePopupWidget();
    ASSERT_NE(menu, nullptr);
    QKeyEvent press(QEvent::KeyPress, keys.front(), Qt::NoModifier);
    QCoreApplication::sendEvent(menu, &press);
    PressOnOpenMenu({keys.begin() + 1, keys.end()});
  });
}

MenuItem ChooseFirstFood(PopupMenus& menus) {
  // Up from nothing lands on the last line, the food, whose submenu opens on Right.
  PressOnOpenMenu({Qt::Key_Up, Qt::Key_Right, Qt::Key_Return});
  return menus.Choose(engine::PopupMenu::PopupMain, QPoint(40, 40), false);
}

TEST_F(MenusOffScreen, AnItemIsChosenAndAMenuClosedWithoutOne) {
  PopupMenus menus;
  EXPECT_EQ(ChooseFirstFood(menus), MenuItem::N_Ame);
  PressOnOpenMenu({Qt::Key_Down, Qt::Key_Down, Qt::Key_Return});
  EXPECT_EQ(menus.Choose(engine::PopupMenu::PopupTray, QPoint(40, 40), false), MenuItem::Exit);
  PressOnOpenMenu({Qt::Key_Escape});
  EXPECT_EQ(menus.Choose(engine::PopupMenu::PopupTray, QPoint(40, 40), false), MenuItem::None);
  // Each again, once they have been closed.
  EXPECT_EQ(ChooseFirstFood(menus), MenuItem::N_Ame);
  PressOnOpenMenu({Qt::Key_Down, Qt::Key_Return});
  EXPECT_EQ(menus.Choose(engine::PopupMenu::PopupTray, QPoint(40, 40), false), MenuItem::Open);
}

// The menus are opened all day; each time must leave the heap as it found it.
TEST_F(MenusOffScreen, MenusOpenedOverAndOverLeaveTheHeapWhereItWas) {
  // The style keeps what it draws a menu from in the pixmap cache, under keys
  // new each time, up to the cache's bound, which is the program's to set; with
  // no room there, what stays behind is the menus' own.
  QPixmapCache::setCacheLimit(0);
  PopupMenus menus;
  for (int i = 0; i < 20; ++i) ChooseFirstFood(menus);  // fonts and the style load
  const std::size_t before = mallinfo2().uordblks;
  for (int i = 0; i < 300; ++i) ASSERT_EQ(ChooseFirstFood(menus), MenuItem::N_Ame);
  // About a hundred bytes a menu, were its native windows made anew each time.
  const std::size_t after = mallinfo2().uordblks;
  EXPECT_LT(after, before + 8 * 1024) << "the heap grew by " << after - before << " bytes";
}

}  // namespace
}  // namespace pelmo::ui::qt
