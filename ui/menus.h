#pragma once

#include <span>
#include <string_view>

#include "engine/scene.h"

namespace pelmo::ui {

// Every menu item of the program, named as in its menus.
enum class MenuItem {
  None,
  End,
  PopMini,
  MainFood,
  N_Ame,
  N_Naruto,
  N_Dango,
  N_Beer,
  Open,
  Exit,
  N_URL
};

// One line of a popup menu; an item with a submenu has no handler of its own.
struct MenuEntry {
  std::string_view caption;  // UTF-8
  MenuItem item;
  std::span<const MenuEntry> submenu;
};

// The items of PopupMain or PopupTray, top to bottom.
std::span<const MenuEntry> MenuEntries(engine::PopupMenu menu);

}  // namespace pelmo::ui
