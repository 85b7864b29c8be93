#include "ui/forms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "engine/picture_names.h"
#include "engine/texts.h"
#include "tests/ui/bmp_builder.h"

namespace pelmo::ui {
namespace {

// Records every call as a line of text; a test can hook the modal calls.
class RecordingPlatform : public Platform {
 public:
  std::vector<std::string> calls;
  std::vector<std::pair<WindowId, Presentation>> presented;
  std::function<void()> whileErrorShows;
  int pointerReads = 0;  // each one a round trip to the display server

  std::size_t Count(std::string_view prefix) const {
    return static_cast<std::size_t>(std::count_if(
        calls.begin(), calls.end(), [&](const auto& c) { return c.starts_with(prefix); }));
  }

  engine::Point CursorPos() override {
    ++pointerReads;
    return {500, 500};
  }
  engine::WorkArea GetWorkArea() override { return {0, 0, 1280, 720}; }
  void Present(WindowId window, const Presentation& p) override {
    calls.push_back("Present");
    presented.emplace_back(window, p);
  }
  void PlayCue(std::string_view name) override { calls.push_back("PlayCue " + std::string(name)); }
  void StopCue() override { calls.push_back("StopCue"); }
  void SetDragCursor() override { calls.push_back("SetDragCursor"); }
  void CaptureMouse() override { calls.push_back("CaptureMouse"); }
  void ReleaseMouse() override { calls.push_back("ReleaseMouse"); }
  void HideApplicationWindow() override { calls.push_back("HideApplicationWindow"); }
  void SetTimerEnabled(bool on) override {
    calls.push_back(on ? "SetTimerEnabled on" : "SetTimerEnabled off");
  }
  void PopupMenu(engine::PopupMenu, engine::Point) override { calls.push_back("PopupMenu"); }
  void MoveFoodFormWithPointer() override { calls.push_back("MoveFoodFormWithPointer"); }
  void ShowMessage(std::string_view text, std::string_view caption) override {
    calls.push_back("ShowMessage " + std::string(text) + " / " + std::string(caption));
  }
  void ShowError(std::string_view text) override {
    calls.push_back("ShowError " + std::string(text));
    if (whileErrorShows) whileErrorShows();
  }
  void OpenUrl(std::string_view url) override { calls.push_back("OpenUrl " + std::string(url)); }
  void RemoveTrayIcon() override { calls.push_back("RemoveTrayIcon"); }
  void Quit() override { calls.push_back("Quit"); }
};

// Every picture is a plain 150 x 100 block, so no test here depends on the artwork.
Compositor PlainPictures() {
  return Compositor([](std::string_view) { return testing::Filled(150, 100, 0x336699); });
}

TEST(Forms, StartShowsTheMascotAtTheWorkAreaCornerAndHidesTheWeather) {
  RecordingPlatform platform;
  Forms forms(platform, 1, PlainPictures());
  forms.Start();
  ASSERT_EQ(platform.presented.size(), 4u);
  const auto& [first, mascot] = platform.presented[0];
  EXPECT_EQ(first, WindowId::Form1);
  EXPECT_TRUE(mascot.visible);
  EXPECT_EQ(mascot.rect, (ScreenRect{0, 0, 150, 100}));
  EXPECT_TRUE(platform.presented[1].second.visible);  // FoodForm, with nothing in it yet
  EXPECT_FALSE(platform.presented[2].second.visible);
  EXPECT_FALSE(platform.presented[3].second.visible);
}

TEST(Forms, HiddenWeatherWindowsAreNotPresentedAgainOnEveryTick) {
  RecordingPlatform platform;
  Forms forms(platform, 1, PlainPictures());
  forms.Start();
  platform.presented.clear();
  // Whatever the mascot decides, the hidden weather windows are not presented again.
  for (int i = 0; i < 5; ++i) forms.OnTimer();
  for (const auto& [window, p] : platform.presented) {
    EXPECT_TRUE(window == WindowId::Form1 || window == WindowId::FoodForm);
  }
}

// A front-end that made its windows anew has them shown again as they stand,
// changed or not, and nothing else happens.
TEST(Forms, PresentAllShowsEveryWindowAgainAsItStands) {
  RecordingPlatform platform;
  Forms forms(platform, 1, PlainPictures());
  forms.Start();
  forms.OnTimer();
  ScreenRect mascot;
  for (const auto& [window, p] : platform.presented)
    if (window == WindowId::Form1) mascot = p.rect;
  platform.calls.clear();
  platform.presented.clear();
  forms.PresentAll();
  ASSERT_EQ(platform.calls, std::vector<std::string>(4, "Present"));
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(platform.presented[i].first, kWindows[i]);
    EXPECT_EQ(platform.presented[i].second.visible, i < 2);
  }
  EXPECT_EQ(platform.presented[0].second.rect, mascot);
}

TEST(Forms, GrabbingTheMascotChimesAndCapturesThePointer) {
  RecordingPlatform platform;
  Forms forms(platform, 1, PlainPictures());
  forms.Start();
  platform.calls.clear();
  forms.OnMascotMouseDown(engine::MouseButton::Left);
  EXPECT_EQ(platform.Count("PlayCue SND_CHIMES"), 1u);
  EXPECT_EQ(platform.Count("CaptureMouse"), 1u);
  forms.OnMascotMouseUp();
  EXPECT_EQ(platform.Count("ReleaseMouse"), 1u);
}

// The pointer is asked for once a tick while the mascot is held, and never
// while it walks on its own: a held mascot must not cost more than one round
// trip a tick, an idle one none.
TEST(Forms, ThePointerIsReadOnceATickOnlyWhileTheMascotIsHeld) {
  RecordingPlatform platform;
  Forms forms(platform, 1, PlainPictures());
  forms.Start();
  for (int i = 0; i < 5; ++i) forms.OnTimer();
  EXPECT_EQ(platform.pointerReads, 0);
  forms.OnMascotMouseDown(engine::MouseButton::Left);
  platform.pointerReads = 0;
  for (int i = 0; i < 10; ++i) forms.OnTimer();
  EXPECT_EQ(platform.pointerReads, 10);
  forms.OnMascotMouseUp();
  platform.pointerReads = 0;
  for (int i = 0; i < 5; ++i) forms.OnTimer();
  EXPECT_EQ(platform.pointerReads, 0);
}

TEST(Forms, ASecondServingIsRefusedWithOneMessage) {
  RecordingPlatform platform;
  Forms forms(platform, 1, PlainPictures());
  forms.Start();
  forms.OnMenuItem(MenuItem::N_Ame);
  EXPECT_EQ(platform.Count("ShowMessage"), 0u);
  forms.OnMenuItem(MenuItem::N_Beer);
  forms.OnTimer();
  EXPECT_EQ(platform.Count("ShowMessage " + std::string(engine::texts::kRefusalText) + " / " +
                           std::string(engine::texts::kRefusalCaption)),
            1u);
}

TEST(Forms, APictureThatFailsToLoadShowsOneErrorBoxWhileTicksGoOn) {
  RecordingPlatform platform;
  Forms forms(platform, 1, Compositor([](std::string_view name) -> Picture {
                if (name == engine::names::kDango) throw PictureError("broken dango");
                return testing::Filled(150, 100, 0x336699);
              }));
  forms.Start();
  // The box is modal: the timer keeps firing while it is open.
  platform.whileErrorShows = [&forms] {
    for (int i = 0; i < 20; ++i) forms.OnTimer();
  };
  forms.OnMenuItem(MenuItem::N_Dango);
  for (int i = 0; i < 20; ++i) forms.OnTimer();
  EXPECT_EQ(platform.Count("ShowError"), 1u);
  EXPECT_EQ(platform.Count("ShowError broken dango"), 1u);
  EXPECT_FALSE(forms.Closed());
}

TEST(Forms, HidingToTheTrayStopsTheTimerAndHidesTheMascot) {
  RecordingPlatform platform;
  Forms forms(platform, 1, PlainPictures());
  forms.Start();
  platform.presented.clear();
  forms.OnMinimize();
  EXPECT_EQ(platform.Count("SetTimerEnabled off"), 1u);
  EXPECT_EQ(platform.Count("HideApplicationWindow"), 1u);
  ASSERT_EQ(platform.presented.size(), 1u);
  EXPECT_EQ(platform.presented[0].first, WindowId::Form1);
  EXPECT_FALSE(platform.presented[0].second.visible);
  forms.OnTrayNotify(engine::kTrayDoubleClick);
  EXPECT_EQ(platform.Count("SetTimerEnabled on"), 1u);
  EXPECT_TRUE(platform.presented.back().second.visible);
}

TEST(Forms, ExitRemovesTheTrayIconQuitsAndIgnoresLaterEvents) {
  RecordingPlatform platform;
  Forms forms(platform, 1, PlainPictures());
  forms.Start();
  forms.OnMenuItem(MenuItem::Exit);
  EXPECT_TRUE(forms.Closed());
  EXPECT_EQ(platform.Count("RemoveTrayIcon"), 1u);
  EXPECT_EQ(platform.Count("Quit"), 1u);
  const std::size_t calls = platform.calls.size();
  forms.OnTimer();
  forms.OnMascotMouseDown(engine::MouseButton::Left);
  EXPECT_EQ(platform.calls.size(), calls);
}

}  // namespace
}  // namespace pelmo::ui

namespace pelmo::ui {
namespace {

// Seed 70219 idles for its first half minute, deciding on every tick to stay.
constexpr std::uint32_t kIdleSeed = 70219;

TEST(Forms, TicksForeseenAsQuietAskNothingOfThePlatform) {
  RecordingPlatform platform;
  Forms forms(platform, kIdleSeed, PlainPictures());
  forms.Start();
  int foreseen = 0;
  for (int tick = 0; tick < 400;) {
    const int quiet = forms.QuietTicksAhead(50);
    foreseen += quiet;
    platform.calls.clear();
    for (int i = 0; i < quiet; ++i, ++tick) forms.OnTimer();
    ASSERT_TRUE(platform.calls.empty())
        << "a quiet tick before tick " << tick << " asked for " << platform.calls.front();
    forms.OnTimer();
    ++tick;
  }
  EXPECT_GT(foreseen, 100) << "an idling mascot has quiet ticks";
}

TEST(Forms, LookingAheadLeavesTheMascotAsItWas) {
  RecordingPlatform watched;
  RecordingPlatform unwatched;
  Forms looking(watched, kIdleSeed, PlainPictures());
  Forms plain(unwatched, kIdleSeed, PlainPictures());
  looking.Start();
  plain.Start();
  for (int tick = 0; tick < 600; ++tick) {
    looking.QuietTicksAhead(50);
    looking.OnTimer();
    plain.OnTimer();
  }
  EXPECT_EQ(looking.GetEngine().State().tick, plain.GetEngine().State().tick);
  EXPECT_EQ(looking.GetEngine().State().mode, plain.GetEngine().State().mode);
  EXPECT_EQ(watched.calls, unwatched.calls);
}

TEST(Forms, NoTickIsQuietWhileTheMascotIsHeldOrTheTimerStopped) {
  RecordingPlatform platform;
  Forms forms(platform, kIdleSeed, PlainPictures());
  forms.Start();
  forms.OnTimer();  // the first tick writes the mode into a text box
  ASSERT_GT(forms.QuietTicksAhead(50), 0);
  forms.OnMascotMouseDown(engine::MouseButton::Left);
  EXPECT_EQ(forms.QuietTicksAhead(50), 0) << "the held mascot follows the pointer";
  forms.OnMascotMouseUp();
  forms.OnMinimize();
  EXPECT_EQ(forms.QuietTicksAhead(50), 0) << "no tick runs while the timer is off";
}

}  // namespace
}  // namespace pelmo::ui
