#include "ui/win32/menu.h"

#include "ui/win32/wide_text.h"

namespace pelmo::ui::win32 {

namespace {

// A command id is the item's number; MenuItem::None (0) is never appended.
HMENU BuildMenu(std::span<const MenuEntry> entries) {
  HMENU menu = CreatePopupMenu();
  for (const MenuEntry& entry : entries) {
    const std::wstring caption = Widen(entry.caption);
    if (entry.submenu.empty()) {
      AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(entry.item), caption.c_str());
    } else {
      AppendMenuW(menu, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(BuildMenu(entry.submenu)),
                  caption.c_str());
    }
  }
  return menu;
}

}  // namespace

MenuItem TrackMenu(HWND owner, engine::PopupMenu popup, POINT at) {
  HMENU menu = BuildMenu(MenuEntries(popup));
  // Foreground first, or the menu would stay open when the user clicks elsewhere.
  SetForegroundWindow(owner);
  const UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD;
  const BOOL chosen = TrackPopupMenu(menu, flags, at.x, at.y, 0, owner, nullptr);
  // Lets the next popup of a tray menu open on the first click.
  PostMessageA(owner, WM_NULL, 0, 0);
  DestroyMenu(menu);  // destroys the submenus too
  return chosen > 0 ? static_cast<MenuItem>(chosen) : MenuItem::None;
}

}  // namespace pelmo::ui::win32
