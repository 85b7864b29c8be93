#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "ui/compositor.h"

namespace pelmo::ui::win32 {

// One sprite window: a borderless, colour-keyed popup owned by the hidden
// application window (so it has no taskbar button), in ordinary stacking
// order. Its real extent is the presented part of the window; everything
// around it would be exact blue and so invisible and click-through anyway.
class SpriteWindow {
 public:
  // Gets the window's messages other than painting; returns the result for a
  // message it handled, nothing to let the default handling run.
  class Listener {
   public:
    virtual std::optional<LRESULT> OnMessage(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam) = 0;

   protected:
    ~Listener() = default;
  };

  SpriteWindow(HWND owner, const wchar_t* caption, Listener& listener);
  ~SpriteWindow();
  SpriteWindow(const SpriteWindow&) = delete;
  SpriteWindow& operator=(const SpriteWindow&) = delete;

  HWND Handle() const { return hwnd_; }

  // Moves, resizes, repaints (before returning), shows or hides the window.
  void Present(const Presentation& presentation);
  // Where the window's presented part is on the screen now.
  POINT ScreenTopLeft() const;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();

  Listener& listener_;
  HWND hwnd_ = nullptr;
  ScreenRect rect_;
  bool shown_ = false;
  std::vector<std::uint32_t> pixels_;  // rect_.width x rect_.height, top-down 0x00RRGGBB
};

}  // namespace pelmo::ui::win32
