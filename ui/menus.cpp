#include "ui/menus.h"

namespace pelmo::ui {

namespace {

constexpr MenuEntry kFoodMenu[] = {
    {"飴", MenuItem::N_Ame, {}},
    {"なると", MenuItem::N_Naruto, {}},
    {"三色団子", MenuItem::N_Dango, {}},
    {"ビール", MenuItem::N_Beer, {}},
};

constexpr MenuEntry kPopupMain[] = {
    {"Pelmoを終了する．", MenuItem::End, {}},
    {"Pelmoを仕舞う．", MenuItem::PopMini, {}},
    {"ご飯", MenuItem::MainFood, kFoodMenu},
};

constexpr MenuEntry kPopupTray[] = {
    {"開く", MenuItem::Open, {}},
    {"終了", MenuItem::Exit, {}},
    {"Pelmoぺーじ", MenuItem::N_URL, {}},
};

}  // namespace

std::span<const MenuEntry> MenuEntries(engine::PopupMenu menu) {
  switch (menu) {
    case engine::PopupMenu::PopupMain:
      return kPopupMain;
    case engine::PopupMenu::PopupTray:
      return kPopupTray;
    case engine::PopupMenu::None:
      break;
  }
  return {};
}

}  // namespace pelmo::ui
