#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "engine/scene.h"
#include "ui/picture.h"

namespace pelmo::ui {

enum class WindowId { Form1, FoodForm, RainForm, SunForm };
inline constexpr std::array kWindows = {WindowId::Form1, WindowId::FoodForm, WindowId::RainForm,
                                        WindowId::SunForm};

struct ScreenRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool operator==(const ScreenRect&) const = default;
};

// What a front-end shows of one window: only the part that can hold non-blue
// pixels (the visible image controls' rectangles clipped to the window), with
// that part's place on the screen. A window's logical size may be far larger
// (Form1 spans the work area); everything outside `rect` is transparent.
struct Presentation {
  bool visible = false;
  ScreenRect rect;                  // may be empty (nothing to draw)
  const Picture* buffer = nullptr;  // rect.width x rect.height pixels; valid until the next Present
  bool changed = false;             // anything differs from the last presentation
  bool pixelsChanged = false;       // the buffer's size or content differs (else only moved/shown)
  std::uint64_t frameId = 0;        // names the buffer's size and content: equal ids, equal pixels
};

// Turns the Scene's windows into pixels: blue background, image controls in
// painting order, clipped or stretched by nearest pixel, the Transparent rule.
class Compositor {
 public:
  using Loader = std::function<Picture(std::string_view)>;
  explicit Compositor(Loader loader = LoadPicture);
  ~Compositor();
  Compositor(Compositor&&) noexcept;
  Compositor& operator=(Compositor&&) noexcept;

  // The window's presentation; recomposes only when the window's Scene values
  // changed since the last call for that window.
  Presentation Present(WindowId window, const engine::Scene& scene);

  // The whole window at its logical size (storyboards and tests).
  Picture ComposeWindow(WindowId window, const engine::Scene& scene);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace pelmo::ui
