// One scenario on a desktop at 100 % and at 200 %, through the same mapping the
// front-ends use: the engine must not be able to tell the two apart.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "ui/display_scale.h"
#include "ui/forms.h"

namespace pelmo::ui {
namespace {

// What one presentation showed, in device pixels; `pixels` hashes the picture
// as seen one engine pixel at a time, and `blocks` counts device pixels that
// differ from the engine pixel they lie in.
struct Shown {
  WindowId window;
  bool visible;
  ScreenRect rect;
  std::uint64_t pixels = 0;
  std::size_t blocks = 0;
  bool pixelsChanged = false;
};

// A desktop of 1280 x 720 engine pixels, at `n` device pixels to each, with a
// pointer the test moves in device pixels.
class ScaledDesktop : public Platform {
 public:
  explicit ScaledDesktop(int n) : scale(n) {}

  DisplayScale scale;
  engine::Point pointer;   // device pixels
  engine::Point foodMove;  // how far the user carries the food, in device pixels
  std::vector<Shown> shown;
  std::vector<std::string> calls;

  engine::Point CursorPos() override { return scale.ToEngine(pointer); }
  engine::WorkArea GetWorkArea() override {
    const int n = scale.Factor();
    return scale.ToEngine(engine::WorkArea{0, 0, 1280 * n, 720 * n});
  }
  void Present(WindowId window, const Presentation& presentation) override {
    const Presentation p = scale.ToDevice(window, presentation);
    Shown s{window, p.visible, p.rect};
    s.pixelsChanged = p.pixelsChanged;
    if (p.visible && p.buffer != nullptr) {
      const int n = scale.Factor();
      const Picture& b = *p.buffer;
      for (std::int32_t y = 0; y < b.height; ++y)
        for (std::int32_t x = 0; x < b.width; ++x) {
          const std::uint32_t block = b.At(x / n * n, y / n * n);
          if (b.At(x, y) != block) ++s.blocks;
          if (x % n == 0 && y % n == 0) s.pixels = s.pixels * 1099511628211u + block;
        }
    }
    shown.push_back(s);
  }
  void PlayCue(std::string_view name) override { calls.push_back("cue " + std::string(name)); }
  void StopCue() override { calls.push_back("stop"); }
  void SetDragCursor() override {}
  void CaptureMouse() override { calls.push_back("capture"); }
  void ReleaseMouse() override { calls.push_back("release"); }
  void HideApplicationWindow() override {}
  void SetTimerEnabled(bool) override {}
  void PopupMenu(engine::PopupMenu, engine::Point at) override {
    const engine::Point device = scale.ToDevice(at);
    calls.push_back("menu at " + std::to_string(device.x) + "," + std::to_string(device.y));
  }
  // As the front-ends do: the window's device place, moved by the pointer, back
  // in the engine's pixels.
  void MoveFoodFormWithPointer() override { moveFood = true; }
  void ShowMessage(std::string_view text, std::string_view) override {
    calls.push_back("message " + std::string(text));
  }
  void ShowError(std::string_view text) override { calls.push_back("error " + std::string(text)); }
  void OpenUrl(std::string_view) override {}
  void RemoveTrayIcon() override {}
  void Quit() override {}

  bool moveFood = false;
};

auto StateOf(const engine::Engine& e) {
  const engine::MascotState& s = e.State();
  return std::make_tuple(s.food, s.targetX, s.targetY, s.dragging, s.mode, s.tick);
}

struct Played {
  std::vector<std::tuple<std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                         std::int32_t>>
      states;
  std::vector<engine::Scene> scenes;
  std::vector<Shown> shown;
  std::vector<std::string> calls;
};

// Grabs the mascot, carries it, lets go; serves candy, carries the food beside
// the mascot and lets it walk there and eat; opens the menu; all in device pixels.
Played Play(int n) {
  ScaledDesktop desktop(n);
  Forms forms(desktop, 7);
  Played run;
  const auto step = [&](auto&& action) {
    action();
    run.states.push_back(StateOf(forms.GetEngine()));
    run.scenes.push_back(forms.GetEngine().GetScene());
  };
  const auto ticks = [&](int count) {
    for (int i = 0; i < count; ++i) step([&] { forms.OnTimer(); });
  };
  step([&] { forms.Start(); });
  ticks(5);
  desktop.pointer = {60 * n + 1, 50 * n + 1};
  step([&] { forms.OnMascotMouseDown(engine::MouseButton::Left); });
  for (int i = 1; i <= 6; ++i) {
    desktop.pointer = {(60 + 90 * i) * n + (n - 1), (50 + 40 * i) * n};
    ticks(3);
  }
  step([&] { forms.OnMascotMouseUp(); });
  ticks(3);
  step([&] { forms.OnMenuItem(MenuItem::N_Ame); });
  desktop.pointer = {300 * n, 200 * n};
  step([&] { forms.OnFoodMouseDown(); });
  if (desktop.moveFood) {
    const engine::SpriteWindow& food = forms.GetEngine().GetScene().FoodForm;
    const engine::Point at = desktop.scale.ToDevice(engine::Point{food.Left, food.Top});
    const engine::Point moved{260 * n, 140 * n + (n - 1)};  // off the engine grid
    step([&] {
      forms.OnFoodFormMoved(desktop.scale.ToEngine(engine::Point{at.x + moved.x, at.y + moved.y}));
    });
  }
  ticks(150);
  step([&] { forms.OnMascotMouseDown(engine::MouseButton::Right); });
  run.shown = desktop.shown;
  run.calls = desktop.calls;
  return run;
}

TEST(ScaledForms, TheSameScenarioAtTwiceTheScaleIsTheSameTwiceAsLarge) {
  const Played one = Play(1);
  const Played two = Play(2);
  ASSERT_EQ(one.states.size(), two.states.size());
  for (std::size_t i = 0; i < one.states.size(); ++i) {
    ASSERT_EQ(one.states[i], two.states[i]) << "step " << i;
    ASSERT_TRUE(one.scenes[i] == two.scenes[i]) << "step " << i;
  }
  // The scenario did what it says: the mascot was carried, walked and ate.
  EXPECT_NE(one.scenes.front().Form1.Left, one.scenes.back().Form1.Left);
  EXPECT_EQ(std::count(one.calls.begin(), one.calls.end(), "capture"), 1);

  ASSERT_EQ(one.shown.size(), two.shown.size());
  std::size_t visible = 0;
  for (std::size_t i = 0; i < one.shown.size(); ++i) {
    const Shown& a = one.shown[i];
    const Shown& b = two.shown[i];
    SCOPED_TRACE("presentation " + std::to_string(i));
    ASSERT_EQ(a.window, b.window);
    ASSERT_EQ(a.visible, b.visible);
    if (!a.visible) continue;
    ++visible;
    EXPECT_EQ(b.rect,
              (ScreenRect{2 * a.rect.left, 2 * a.rect.top, 2 * a.rect.width, 2 * a.rect.height}));
    EXPECT_EQ(b.pixels, a.pixels);
    EXPECT_EQ(b.blocks, 0u);
  }
  EXPECT_GT(visible, 100u);

  // The menu opens where the pointer is, which is a device pixel at both scales.
  ASSERT_FALSE(one.calls.empty());
  EXPECT_EQ(one.calls.back(), "menu at 300,200");
  EXPECT_EQ(two.calls.back(), "menu at 600,400");
  EXPECT_EQ(std::vector(one.calls.begin(), one.calls.end() - 1),
            std::vector(two.calls.begin(), two.calls.end() - 1));
}

// A new scale shows every window again at once, though the engine's own pixels
// stay as they were: each at its new size, its pixels anew.
TEST(ScaledForms, ANewScaleShowsEveryWindowAnew) {
  ScaledDesktop desktop(1);
  Forms forms(desktop, 7);
  forms.Start();
  forms.OnTimer();
  desktop.shown.clear();
  desktop.scale.SetFactor(2);
  forms.OnWorkAreaChanged();  // the engine's work area is as it was: nothing to show
  EXPECT_TRUE(desktop.shown.empty());
  forms.PresentAll();
  ASSERT_EQ(desktop.shown.size(), kWindows.size());
  EXPECT_TRUE(desktop.shown[0].visible);
  EXPECT_EQ(desktop.shown[0].rect.width, 300);
  EXPECT_EQ(desktop.shown[0].rect.height, 200);
  EXPECT_TRUE(desktop.shown[0].pixelsChanged);
}

}  // namespace
}  // namespace pelmo::ui
