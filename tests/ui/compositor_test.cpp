#include "ui/compositor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/picture_names.h"
#include "tests/ui/bmp_builder.h"

namespace pelmo::ui {
namespace {

using engine::Scene;
using testing::Filled;
using testing::Gradient;

// Serves made-up pictures by name and counts the loads.
struct FakeLoader {
  std::map<std::string, Picture, std::less<>> pictures;
  int loads = 0;

  Compositor::Loader Bind() {
    return [this](std::string_view name) {
      ++loads;
      const auto it = pictures.find(name);
      if (it == pictures.end()) throw PictureError("no picture named " + std::string(name));
      return it->second;
    };
  }
};

Scene Desktop(std::int32_t width = 1920, std::int32_t height = 1040) {
  return engine::InitialScene({0, 0, width, height});
}

std::uint32_t At(const Picture& p, std::int32_t x, std::int32_t y) {
  return p.At(x, y);
}

// --- drawing rules, on pictures made for each rule ---

TEST(Compositor, DrawsAPictureAtItsOwnSizeClippedToItsControl) {
  FakeLoader loader;
  loader.pictures["WIDE"] = Gradient(168, 100);
  loader.pictures["SMALL"] = Gradient(40, 30);
  Compositor compositor(loader.Bind());
  Scene scene = Desktop(400, 300);

  scene.PelmoImg.Picture = "WIDE";
  Picture window = compositor.ComposeWindow(WindowId::Form1, scene);
  ASSERT_EQ(window.width, 400);
  EXPECT_EQ(At(window, 149, 99), loader.pictures["WIDE"].At(149, 99));
  EXPECT_EQ(At(window, 150, 50), kKeyBlue);
  EXPECT_EQ(At(window, 10, 100), kKeyBlue);

  // A smaller picture leaves the rest of its control blue.
  scene.PelmoImg.Picture = "SMALL";
  window = compositor.ComposeWindow(WindowId::Form1, scene);
  EXPECT_EQ(At(window, 39, 29), loader.pictures["SMALL"].At(39, 29));
  EXPECT_EQ(At(window, 40, 29), kKeyBlue);
  EXPECT_EQ(At(window, 39, 30), kKeyBlue);
}

TEST(Compositor, ClipsToTheWindowAndToAControlStartingAboveIt) {
  FakeLoader loader;
  loader.pictures["TALL"] = Gradient(123, 555);
  loader.pictures["NONE"] = Filled(1, 1, kKeyBlue);
  Compositor compositor(loader.Bind());
  Scene scene = Desktop();
  scene.CloudImg.Picture = {};
  scene.RainImg.Picture = "TALL";
  scene.RainImg.Top = -500;  // only the control's lowest 100 rows lie in the window
  const Picture window = compositor.ComposeWindow(WindowId::RainForm, scene);
  ASSERT_EQ(window.width, 192);
  ASSERT_EQ(window.height, 516);
  EXPECT_EQ(At(window, 30, 0), loader.pictures["TALL"].At(0, 500));
  EXPECT_EQ(At(window, 149, 54), loader.pictures["TALL"].At(119, 554));
  EXPECT_EQ(At(window, 150, 0), kKeyBlue);  // columns 120..122 of the picture are cut off
  EXPECT_EQ(At(window, 30, 55), kKeyBlue);  // control rows below the picture
}

TEST(Compositor, StretchesByNearestPixelWithoutBlending) {
  // Blue and cream mixed in a fine irregular pattern: any blending would make new colours.
  Picture stripes = Filled(1200, 800, kKeyBlue);
  for (std::size_t i = 0; i < stripes.pixels.size(); ++i)
    if ((i * 7 + i / 1200 * 13) % 5 < 2) stripes.pixels[i] = 0xFFFBF0;
  FakeLoader loader;
  loader.pictures["STRIPES"] = stripes;
  Compositor compositor(loader.Bind());
  Scene scene = Desktop(2000, 1000);
  scene.PelmoImg.Picture = "STRIPES";
  scene.PelmoImg.Stretch = true;
  for (const auto& [w, h] : {std::pair{150, 100}, {1240, 863}, {7, 3}}) {
    scene.PelmoImg.Width = w;
    scene.PelmoImg.Height = h;
    const Presentation p = compositor.Present(WindowId::Form1, scene);
    ASSERT_EQ(p.rect, (ScreenRect{0, 0, w, h}));
    std::set<std::uint32_t> colours(p.buffer->pixels.begin(), p.buffer->pixels.end());
    EXPECT_EQ(colours, (std::set<std::uint32_t>{kKeyBlue, 0xFFFBF0})) << w << "x" << h;
  }
}

TEST(Compositor, StretchMapsCornersToCornersAndScalesAxesIndependently) {
  FakeLoader loader;
  loader.pictures["G"] = Gradient(40, 20);
  Compositor compositor(loader.Bind());
  Scene scene = Desktop(400, 300);
  scene.PelmoImg = {5, 7, 80, 60, true, false, "G"};
  const Picture window = compositor.ComposeWindow(WindowId::Form1, scene);
  const Picture& g = loader.pictures["G"];
  EXPECT_EQ(At(window, 5, 7), g.At(0, 0));
  EXPECT_EQ(At(window, 84, 66), g.At(39, 19));
  EXPECT_EQ(At(window, 6, 7), g.At(0, 0));  // 2x across
  EXPECT_EQ(At(window, 7, 7), g.At(1, 0));
  EXPECT_EQ(At(window, 5, 10), g.At(0, 1));  // 3x down
  EXPECT_EQ(At(window, 85, 7), kKeyBlue);
}

TEST(Compositor, TransparentSkipsTheBottomLeftColourOnly) {
  Picture sun = Filled(300, 200, 0xFF0000);  // red background: the bottom-left colour
  sun.pixels[10] = 0xFF6600;
  sun.pixels[11] = 0x0101FF;  // near-blue stays, even with Transparent set
  sun.pixels[12] = kKeyBlue;  // drawn as it is: the same as the background
  FakeLoader loader;
  loader.pictures["SUN"] = sun;
  Compositor compositor(loader.Bind());
  Scene scene = Desktop();
  scene.Img.Picture = "SUN";
  Picture window = compositor.ComposeWindow(WindowId::SunForm, scene);
  EXPECT_EQ(At(window, 0, 0), kKeyBlue);
  EXPECT_EQ(At(window, 10, 0), 0xFF6600u);
  EXPECT_EQ(At(window, 11, 0), 0x0101FFu);
  EXPECT_EQ(At(window, 12, 0), kKeyBlue);

  scene.Img.Transparent = false;
  window = compositor.ComposeWindow(WindowId::SunForm, scene);
  EXPECT_EQ(At(window, 0, 0), 0xFF0000u);
}

TEST(Compositor, TheCloudCoversTheRainWithItsWholeRectangle) {
  FakeLoader loader;
  loader.pictures["RAIN"] = Filled(123, 555, 0xCCFFFF);
  Picture cloud = Filled(184, 107, kKeyBlue);
  cloud.pixels[40] = 0xCCCCCC;  // row 0, column 40
  loader.pictures["CLOUD"] = cloud;
  Compositor compositor(loader.Bind());
  Scene scene = Desktop();
  scene.RainImg.Picture = "RAIN";
  scene.RainImg.Top = 0;
  scene.CloudImg.Picture = "CLOUD";
  const Picture window = compositor.ComposeWindow(WindowId::RainForm, scene);
  EXPECT_EQ(At(window, 40, 0), 0xCCCCCCu);
  EXPECT_EQ(At(window, 50, 50), kKeyBlue);  // the cloud's own blue hides the rain
  EXPECT_EQ(At(window, 50, 107), 0xCCFFFFu);
}

TEST(Compositor, ControlsWithoutPictureOrAreaDrawNothing) {
  FakeLoader loader;
  loader.pictures["G"] = Gradient(10, 10);
  Compositor compositor(loader.Bind());
  Scene scene = Desktop(300, 200);
  for (const auto& [w, h] : {std::pair{0, 100}, {150, 0}, {-5, 100}, {150, -1}}) {
    for (const bool stretch : {false, true}) {
      scene.PelmoImg = {0, 0, w, h, stretch, false, "G"};
      const Picture window = compositor.ComposeWindow(WindowId::Form1, scene);
      EXPECT_EQ(std::count(window.pixels.begin(), window.pixels.end(), kKeyBlue),
                static_cast<long>(window.pixels.size()));
      const Presentation p = compositor.Present(WindowId::Form1, scene);
      EXPECT_EQ(p.rect.width * p.rect.height, 0);
    }
  }
  const Picture food = compositor.ComposeWindow(WindowId::FoodForm, scene);
  EXPECT_EQ(std::count(food.pixels.begin(), food.pixels.end(), kKeyBlue), 127 * 169);
}

TEST(Compositor, SurvivesExtremeCoordinatesAndSizes) {
  FakeLoader loader;
  loader.pictures["G"] = Gradient(20, 10);
  Compositor compositor(loader.Bind());
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  Scene scene = Desktop(640, 480);
  scene.PelmoImg = {kMin, kMin, kMax, kMax, true, false, "G"};
  scene.Form1.Left = kMax;
  scene.Form1.Top = kMin;
  Presentation p = compositor.Present(WindowId::Form1, scene);
  EXPECT_EQ(p.rect.width * p.rect.height, 0);

  // A control far larger than its window is composed only where the window is.
  scene.PelmoImg = {-1000, -1000, kMax, kMax, true, false, "G"};
  p = compositor.Present(WindowId::Form1, scene);
  EXPECT_EQ(p.rect.width, 640);
  EXPECT_EQ(p.rect.height, 480);
  EXPECT_EQ(p.rect.left, kMax);

  // An absurd window is refused with a message, not by running out of memory.
  scene.Form1.Width = kMax;
  scene.Form1.Height = kMax;
  EXPECT_THROW(compositor.ComposeWindow(WindowId::Form1, scene), PictureError);
  EXPECT_THROW(compositor.Present(WindowId::Form1, scene), PictureError);
}

// --- the presentation contract ---

TEST(Presentation, HoldsOnlyTheImageRectangleAtItsScreenPlace) {
  FakeLoader loader;
  loader.pictures["G"] = Gradient(150, 100);
  Compositor compositor(loader.Bind());
  Scene scene = engine::InitialScene({-1920, 40, 1920, 1080});  // a monitor left of the primary
  scene.PelmoImg.Picture = "G";
  scene.Form1.Left = 300;
  scene.Form1.Top = 200;
  Presentation p = compositor.Present(WindowId::Form1, scene);
  EXPECT_TRUE(p.visible);
  EXPECT_EQ(p.rect, (ScreenRect{300, 200, 150, 100}));
  ASSERT_NE(p.buffer, nullptr);
  EXPECT_EQ(p.buffer->pixels, loader.pictures["G"].pixels);

  // An image partly left of the window is cut at the window's edge.
  scene.PelmoImg.Left = -20;
  p = compositor.Present(WindowId::Form1, scene);
  EXPECT_EQ(p.rect, (ScreenRect{300, 200, 130, 100}));
  EXPECT_EQ(p.buffer->At(0, 0), loader.pictures["G"].At(20, 0));
}

TEST(Presentation, CoversEveryControlWithAPicture) {
  FakeLoader loader;
  loader.pictures["RAIN"] = Filled(123, 555, 0xCCFFFF);
  loader.pictures["CLOUD"] = Filled(184, 107, 0xCCCCCC);
  loader.pictures["FOOD"] = Gradient(79, 59);
  Compositor compositor(loader.Bind());
  Scene scene = Desktop();
  scene.RainForm.Visible = true;
  scene.RainImg.Picture = "RAIN";
  scene.CloudImg.Picture = "CLOUD";
  scene.RainImg.Top = 0;
  Presentation p = compositor.Present(WindowId::RainForm, scene);
  // Cloud (0,0,300,110) and rain (30,0,120,600), both cut to the 192 x 516 window.
  EXPECT_EQ(p.rect, (ScreenRect{242, 243, 192, 516}));

  // With no food served the food window has nothing that could be seen or clicked.
  p = compositor.Present(WindowId::FoodForm, scene);
  EXPECT_TRUE(p.visible);
  EXPECT_EQ(p.rect.width * p.rect.height, 0);
  scene.FoodImg.Picture = "FOOD";
  p = compositor.Present(WindowId::FoodForm, scene);
  EXPECT_EQ(p.rect, (ScreenRect{233, 382, 127, 169}));  // alClient: the whole window
  EXPECT_TRUE(p.pixelsChanged);
}

TEST(Presentation, ReportsWhatChangedAndDoesNoWorkWhenNothingDid) {
  FakeLoader loader;
  loader.pictures["A"] = Gradient(150, 100);
  loader.pictures["A_AGAIN"] = Gradient(150, 100);
  loader.pictures["B"] = Filled(150, 100, 0x123456);
  Compositor compositor(loader.Bind());
  Scene scene = Desktop();
  scene.PelmoImg.Picture = "A";

  Presentation p = compositor.Present(WindowId::Form1, scene);
  EXPECT_TRUE(p.changed);
  EXPECT_TRUE(p.pixelsChanged);
  const int loadsAfterFirst = loader.loads;

  p = compositor.Present(WindowId::Form1, scene);
  EXPECT_FALSE(p.changed);
  EXPECT_FALSE(p.pixelsChanged);
  EXPECT_EQ(loader.loads, loadsAfterFirst);

  scene.Form1.Left += 7;  // moved only
  p = compositor.Present(WindowId::Form1, scene);
  EXPECT_TRUE(p.changed);
  EXPECT_FALSE(p.pixelsChanged);
  EXPECT_EQ(p.rect.left, 7);
  EXPECT_EQ(loader.loads, loadsAfterFirst);

  const std::uint64_t idOfA = p.frameId;
  scene.PelmoImg.Picture = "A_AGAIN";  // another name, the same pixels
  p = compositor.Present(WindowId::Form1, scene);
  EXPECT_TRUE(p.changed);
  EXPECT_FALSE(p.pixelsChanged);
  EXPECT_EQ(p.frameId, idOfA);

  scene.PelmoImg.Picture = "B";
  p = compositor.Present(WindowId::Form1, scene);
  EXPECT_TRUE(p.pixelsChanged);
  EXPECT_EQ(p.buffer->At(0, 0), 0x123456u);

  scene.Form1.Visible = false;
  p = compositor.Present(WindowId::Form1, scene);
  EXPECT_TRUE(p.changed);
  EXPECT_FALSE(p.visible);

  // While hidden nothing changes on the screen and nothing is drawn.
  const int loadsWhileHidden = loader.loads;
  scene.PelmoImg.Picture = "A";
  p = compositor.Present(WindowId::Form1, scene);
  EXPECT_FALSE(p.changed);
  EXPECT_EQ(loader.loads, loadsWhileHidden);

  scene.Form1.Visible = true;
  p = compositor.Present(WindowId::Form1, scene);
  EXPECT_TRUE(p.changed);
  EXPECT_TRUE(p.visible);
  EXPECT_TRUE(p.pixelsChanged);
  EXPECT_EQ(p.buffer->pixels, loader.pictures["A"].pixels);
}

TEST(Presentation, AnimationFramesAreDecodedOnceAndDrawnRightAfterEviction) {
  FakeLoader loader;
  const std::vector<std::string> frames = {"F0", "F1", "F2", "F3", "F4"};
  for (std::size_t i = 0; i < frames.size(); ++i) {
    loader.pictures[frames[i]] = Filled(150, 100, 0x100000u * static_cast<std::uint32_t>(i + 1));
  }
  Compositor compositor(loader.Bind());
  Scene scene = Desktop();

  // A walk flips between two frames: each is decoded once however long it lasts,
  // and each keeps its frame id, so a front-end can keep what it made of it.
  std::array<std::uint64_t, 2> ids{};
  for (int tick = 0; tick < 20; ++tick) {
    const std::size_t which = static_cast<std::size_t>(tick % 2);
    scene.PelmoImg.Picture = frames[which];
    scene.Form1.Left = tick;
    const Presentation p = compositor.Present(WindowId::Form1, scene);
    EXPECT_EQ(p.buffer->At(0, 0), loader.pictures[frames[which]].At(0, 0));
    EXPECT_TRUE(p.pixelsChanged);
    if (tick < 2) ids[which] = p.frameId;
    EXPECT_EQ(p.frameId, ids[which]);
  }
  EXPECT_EQ(loader.loads, 2);
  EXPECT_NE(ids[0], ids[1]);

  // Cycling through more frames than are kept still draws each one correctly.
  for (int round = 0; round < 2; ++round) {
    for (const std::string& frame : frames) {
      scene.PelmoImg.Picture = frame;
      const Presentation p = compositor.Present(WindowId::Form1, scene);
      EXPECT_EQ(p.buffer->At(75, 50), loader.pictures[frame].At(75, 50)) << frame;
    }
  }
}

TEST(Presentation, OnlySpriteSizedPicturesAreKeptOnceOutOfSight) {
  FakeLoader loader;
  loader.pictures["SMALL"] = Filled(150, 100, 0x111111);
  loader.pictures["HUGE"] = Filled(1200, 800, 0x222222);
  Compositor compositor(loader.Bind());
  Scene scene = Desktop();
  for (const char* name : {"SMALL", "HUGE", "SMALL", "HUGE", "SMALL"}) {
    scene.PelmoImg.Picture = name;
    const Presentation p = compositor.Present(WindowId::Form1, scene);
    EXPECT_EQ(p.buffer->At(0, 0), loader.pictures[name].At(0, 0)) << name;
  }
  // The small picture is decoded once; the huge one again each time it returns.
  EXPECT_EQ(loader.loads, 3);
}

TEST(Presentation, AHiddenWindowIsReportedOnceAndShownWithItsPixels) {
  FakeLoader loader;
  loader.pictures["SUN"] = Gradient(300, 200);
  Compositor compositor(loader.Bind());
  Scene scene = Desktop();
  scene.Img.Picture = "SUN";
  EXPECT_TRUE(compositor.Present(WindowId::SunForm, scene).changed);
  scene.SunForm.Left = 10;
  EXPECT_FALSE(compositor.Present(WindowId::SunForm, scene).changed);
  EXPECT_EQ(loader.loads, 0);
  scene.SunForm.Visible = true;
  const Presentation p = compositor.Present(WindowId::SunForm, scene);
  EXPECT_TRUE(p.pixelsChanged);
  EXPECT_EQ(p.rect, (ScreenRect{10, 288, 300, 200}));
}

TEST(Presentation, AFailedLoadIsReportedOnceAndKeepsThePreviousPicture) {
  FakeLoader loader;
  loader.pictures["A"] = Gradient(150, 100);
  Compositor compositor(loader.Bind());
  Scene scene = Desktop();
  scene.PelmoImg.Picture = "A";
  compositor.Present(WindowId::Form1, scene);

  scene.PelmoImg.Picture = "MISSING";
  scene.Form1.Left = 50;
  EXPECT_THROW(compositor.Present(WindowId::Form1, scene), PictureError);
  const int loads = loader.loads;
  // The next tick hands out the window as it now stands, without trying again.
  Presentation p = compositor.Present(WindowId::Form1, scene);
  EXPECT_TRUE(p.changed);
  EXPECT_EQ(p.rect.left, 50);
  EXPECT_EQ(p.buffer->pixels, loader.pictures["A"].pixels);
  p = compositor.Present(WindowId::Form1, scene);
  EXPECT_FALSE(p.changed);
  EXPECT_EQ(loader.loads, loads);
}

// --- the program's own pictures ---

TEST(CompositorWithAssets, ShowsOnlyTheLeft150ColumnsOfTheSlantedSpinFrame) {
  Compositor compositor;
  Scene scene = Desktop();
  scene.PelmoImg.Picture = engine::names::kGuru2;
  const Presentation p = compositor.Present(WindowId::Form1, scene);
  const Picture guru = LoadPicture(engine::names::kGuru2);
  ASSERT_EQ(guru.width, 168);
  ASSERT_EQ(p.rect, (ScreenRect{0, 0, 150, 100}));
  for (std::int32_t y = 0; y < 100; ++y)
    for (std::int32_t x = 0; x < 150; ++x) ASSERT_EQ(p.buffer->At(x, y), guru.At(x, y));
}

TEST(CompositorWithAssets, TheRainLosesItsThreeRightColumnsOnly) {
  Compositor compositor;
  Scene scene = Desktop();
  scene.CloudImg.Picture = {};
  scene.RainImg.Top = 0;
  const Picture window = compositor.ComposeWindow(WindowId::RainForm, scene);
  const Picture rain = LoadPicture(engine::names::kRain);
  ASSERT_EQ(rain.width, 123);
  for (std::int32_t y = 0; y < 516; ++y) {
    for (std::int32_t x = 0; x < 192; ++x) {
      const bool inside = x >= 30 && x < 150;
      ASSERT_EQ(window.At(x, y), inside ? rain.At(x - 30, y) : kKeyBlue) << x << "," << y;
    }
  }
  // Among them the drops' near-blue rims, which only the exact key would cut out.
  EXPECT_GT(std::count_if(window.pixels.begin(), window.pixels.end(),
                          [](std::uint32_t c) {
                            return c != kKeyBlue && (c & 0xFF) == 0xFF && (c >> 16) < 8 &&
                                   (c >> 8 & 0xFF) < 8;
                          }),
            0);
}

TEST(CompositorWithAssets, TheBigMascotStretchedKeepsExactBlueAndNoNewColours) {
  Compositor compositor;
  const Picture big = LoadPicture(engine::names::kBig);
  const std::set<std::uint32_t> source(big.pixels.begin(), big.pixels.end());
  Scene scene = Desktop();
  scene.PelmoImg.Picture = engine::names::kBig;
  scene.PelmoImg.Stretch = true;
  for (const auto& [w, h] : {std::pair{150, 100}, {1240, 863}}) {
    scene.PelmoImg.Width = w;
    scene.PelmoImg.Height = h;
    const Presentation p = compositor.Present(WindowId::Form1, scene);
    ASSERT_EQ(p.rect, (ScreenRect{0, 0, w, h}));
    const std::set<std::uint32_t> shown(p.buffer->pixels.begin(), p.buffer->pixels.end());
    EXPECT_TRUE(std::includes(source.begin(), source.end(), shown.begin(), shown.end()));
    EXPECT_EQ(p.buffer->At(0, 0), kKeyBlue);
    EXPECT_EQ(p.buffer->At(w - 1, h - 1), kKeyBlue);
    EXPECT_EQ(shown.count(0x0101FF), 0u);
  }
}

TEST(CompositorWithAssets, TheAngelShowsWholeInItsTallImage) {
  Compositor compositor;
  Scene scene = Desktop();
  scene.PelmoImg.Width = 100;
  scene.PelmoImg.Height = 150;
  scene.PelmoImg.Picture = engine::names::kAngel;
  const Presentation p = compositor.Present(WindowId::Form1, scene);
  EXPECT_EQ(p.rect, (ScreenRect{0, 0, 100, 150}));
  EXPECT_EQ(p.buffer->pixels, LoadPicture(engine::names::kAngel).pixels);
}

TEST(CompositorWithAssets, TheSunsTransparentRuleMatchesTheColourKey) {
  Compositor compositor;
  Scene scene = Desktop();
  for (const std::string_view name : {engine::names::kSun1, engine::names::kSun2}) {
    scene.Img.Picture = name;
    scene.Img.Transparent = true;
    const Picture keyed = compositor.ComposeWindow(WindowId::SunForm, scene);
    scene.Img.Transparent = false;
    EXPECT_EQ(keyed.pixels, compositor.ComposeWindow(WindowId::SunForm, scene).pixels) << name;
  }
}

}  // namespace
}  // namespace pelmo::ui
