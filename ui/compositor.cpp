#include "ui/compositor.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/paint.h"
#include "ui/window_layout.h"

namespace pelmo::ui {

namespace {

// Everything a window's pixels depend on (not where the window is, nor whether it shows).
struct ContentValues {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  std::array<engine::ImageControl, 2> controls{};
  bool operator==(const ContentValues&) const = default;
};

struct WindowValues {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  bool Visible = false;
  ContentValues content;
  bool operator==(const WindowValues&) const = default;
};

WindowValues ValuesOf(const WindowView& view) {
  WindowValues v{view.window->Left,
                 view.window->Top,
                 view.window->Visible,
                 {view.window->Width, view.window->Height, {}}};
  for (std::size_t i = 0; i < view.controlCount; ++i) {
    v.content.controls[i] = *view.controls[i].control;
  }
  return v;
}

Rect64 WindowRect(const engine::SpriteWindow& window) {
  return Rect64::Sized(0, 0, window.Width, window.Height);
}

Rect64 ControlRect(const ControlView& view, const engine::SpriteWindow& window) {
  if (view.alignClient) return WindowRect(window);
  const engine::ImageControl& c = *view.control;
  return Rect64::Sized(c.Left, c.Top, c.Width, c.Height);
}

// Animations flip between a handful of frames; keeping the last few decoded
// spares a decode on every tick for a few hundred kilobytes.
constexpr std::size_t kKeptPictures = 4;

// Only sprite-sized pictures and frames are kept once they are no longer shown:
// the swelling mascot of the rain episode grows to megabytes per frame, and
// keeping those would hold on to tens of megabytes for a picture seen once.
constexpr std::int64_t kMaxKeptPixels = 320 * 240;

template <typename T, typename Size>
void DropLargeBehindFront(std::vector<T>& kept, Size pixelsOf) {
  if (kept.size() < 2) return;
  kept.erase(std::remove_if(kept.begin() + 1, kept.end(),
                            [&](const T& item) { return pixelsOf(item) > kMaxKeptPixels; }),
             kept.end());
}

std::int64_t PixelsOf(const Picture& picture) {
  return static_cast<std::int64_t>(picture.width) * picture.height;
}

struct NamedPicture {
  std::string name;
  Picture picture;
};

// The picture an image control holds, as the control itself would: it changes
// only when a different name is loaded, and a failed load keeps the old one.
struct HeldPicture {
  bool holding = false;              // the front of `recent` is the control's picture
  std::vector<NamedPicture> recent;  // most recently held first
  std::string failedName;

  const Picture& Current() const { return recent.front().picture; }
};

// A composed window kept for reuse: a walk flips between two pictures, and
// composing one of them again on every tick would redo identical work.
struct ComposedFrame {
  ContentValues content;
  Canvas canvas;
  std::uint64_t id = 0;  // equal ids, equal pixels
  bool exact = false;    // shows what `content` names (no failed load stood in for it)
};

constexpr std::size_t kKeptFrames = 4;

struct WindowState {
  bool presentedOnce = false;
  WindowValues presented;  // as last handed out
  std::uint64_t presentedFrame = 0;
  std::vector<ComposedFrame> frames;  // most recently shown first; the front is current
  std::array<HeldPicture, 2> held;

  const Canvas& Current() const { return frames.front().canvas; }
};

}  // namespace

struct Compositor::Impl {
  Loader loader;
  std::array<WindowState, kWindows.size()> windows;
  std::uint64_t lastFrameId = 0;

  void UpdateHeld(HeldPicture& held, std::string_view wanted, std::optional<std::string>& error);
  void Recompose(WindowState& state, const WindowView& view, const ContentValues& content);
};

void Compositor::Impl::UpdateHeld(HeldPicture& held, std::string_view wanted,
                                  std::optional<std::string>& error) {
  if (wanted.empty()) {
    held.holding = false;
    held.failedName.clear();
    return;
  }
  if ((held.holding && wanted == held.recent.front().name) || wanted == held.failedName) return;
  auto kept = std::find_if(held.recent.begin(), held.recent.end(),
                           [wanted](const NamedPicture& p) { return p.name == wanted; });
  if (kept != held.recent.end()) {
    std::rotate(held.recent.begin(), kept, kept + 1);
  } else {
    try {
      NamedPicture loaded{std::string(wanted), loader(wanted)};
      if (held.recent.size() == kKeptPictures) held.recent.pop_back();
      held.recent.insert(held.recent.begin(), std::move(loaded));
    } catch (const std::exception& e) {
      held.failedName = wanted;
      if (!error) error = e.what();
      return;
    }
  }
  DropLargeBehindFront(held.recent, [](const NamedPicture& p) { return PixelsOf(p.picture); });
  held.holding = true;
  held.failedName.clear();
}

// Leaves the state consistent before reporting a failed load, so that the same
// failure is reported once and not again on every tick that follows.
void Compositor::Impl::Recompose(WindowState& state, const WindowView& view,
                                 const ContentValues& content) {
  std::optional<std::string> error;
  const Rect64 window = WindowRect(*view.window);
  Rect64 area;
  bool exact = true;
  for (std::size_t i = 0; i < view.controlCount; ++i) {
    const std::string_view wanted = view.controls[i].control->Picture;
    HeldPicture& held = state.held[i];
    UpdateHeld(held, wanted, error);
    exact = exact &&
            (wanted.empty() ? !held.holding : held.holding && held.recent.front().name == wanted);
    if (held.holding) {
      area = Bound(area, Intersect(ControlRect(view.controls[i], *view.window), window));
    }
  }

  if (exact) {
    auto kept = std::find_if(state.frames.begin(), state.frames.end(), [&](const ComposedFrame& f) {
      return f.exact && f.content == content;
    });
    if (kept != state.frames.end()) {
      std::rotate(state.frames.begin(), kept, kept + 1);
      DropLargeBehindFront(state.frames,
                           [](const ComposedFrame& f) { return PixelsOf(f.canvas.pixels); });
      return;
    }
  }

  if (area.Width() * area.Height() > kMaxComposedPixels) {
    if (!error) {
      error = std::string(view.name) + " is too large to draw (" + std::to_string(area.Width()) +
              " x " + std::to_string(area.Height()) + " pixels)";
    }
    area = {};
  }

  ComposedFrame frame;
  if (state.frames.size() == kKeptFrames) {
    frame = std::move(state.frames.back());  // its buffer is reused
    state.frames.pop_back();
  }
  frame.content = content;
  frame.exact = exact && !error;
  ResetCanvas(frame.canvas, area);
  for (std::size_t i = 0; i < view.controlCount; ++i) {
    if (!state.held[i].holding) continue;
    DrawImage(frame.canvas, window, ControlRect(view.controls[i], *view.window),
              *view.controls[i].control, state.held[i].Current());
  }
  const bool samePixels = !state.frames.empty() &&
                          state.Current().pixels.width == frame.canvas.pixels.width &&
                          state.Current().pixels.height == frame.canvas.pixels.height &&
                          state.Current().pixels.pixels == frame.canvas.pixels.pixels;
  frame.id = samePixels ? state.frames.front().id : ++lastFrameId;
  state.frames.insert(state.frames.begin(), std::move(frame));
  DropLargeBehindFront(state.frames,
                       [](const ComposedFrame& f) { return PixelsOf(f.canvas.pixels); });
  if (error) throw PictureError(*error);
}

namespace {

Presentation Describe(const WindowState& state, const WindowValues& values) {
  if (!values.Visible) return {};
  const Rect64& area = state.Current().area;
  Presentation p;
  p.visible = true;
  p.rect = {engine::Add32(values.Left, static_cast<std::int32_t>(area.left)),
            engine::Add32(values.Top, static_cast<std::int32_t>(area.top)),
            static_cast<std::int32_t>(area.Width()), static_cast<std::int32_t>(area.Height())};
  p.buffer = &state.Current().pixels;
  p.frameId = state.frames.front().id;
  return p;
}

}  // namespace

Compositor::Compositor(Loader loader) : impl_(std::make_unique<Impl>()) {
  impl_->loader = std::move(loader);
}

Compositor::~Compositor() = default;
Compositor::Compositor(Compositor&&) noexcept = default;
Compositor& Compositor::operator=(Compositor&&) noexcept = default;

Presentation Compositor::Present(WindowId window, const engine::Scene& scene) {
  WindowState& state = impl_->windows[static_cast<std::size_t>(window)];
  const WindowView view = ViewOf(window, scene);
  const WindowValues now = ValuesOf(view);
  if (state.presentedOnce && now == state.presented) return Describe(state, now);

  if (!now.Visible) {
    // A hidden window stays hidden whatever else changes; it is composed when shown.
    const bool changed = !state.presentedOnce || state.presented.Visible;
    state.presented = now;
    state.presentedOnce = true;
    Presentation p;
    p.changed = changed;
    return p;
  }
  if (state.frames.empty() || !(state.frames.front().content == now.content)) {
    impl_->Recompose(state, view, now.content);
  }
  state.presented = now;
  state.presentedOnce = true;
  Presentation p = Describe(state, now);
  p.changed = true;
  p.pixelsChanged = p.frameId != std::exchange(state.presentedFrame, p.frameId);
  return p;
}

Picture Compositor::ComposeWindow(WindowId window, const engine::Scene& scene) {
  const WindowView view = ViewOf(window, scene);
  const Rect64 windowRect = WindowRect(*view.window);
  if (windowRect.Width() * windowRect.Height() > kMaxComposedPixels) {
    throw PictureError(std::string(view.name) + " is too large to draw (" +
                       std::to_string(windowRect.Width()) + " x " +
                       std::to_string(windowRect.Height()) + " pixels)");
  }
  Canvas canvas;
  ResetCanvas(canvas, windowRect);
  for (std::size_t i = 0; i < view.controlCount; ++i) {
    const engine::ImageControl& control = *view.controls[i].control;
    if (control.Picture.empty()) continue;
    DrawImage(canvas, windowRect, ControlRect(view.controls[i], *view.window), control,
              impl_->loader(control.Picture));
  }
  return std::move(canvas.pixels);
}

}  // namespace pelmo::ui
