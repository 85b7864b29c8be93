#include "ui/display_scale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>

#include "engine/engine.h"
#include "engine/picture_names.h"
#include "tests/ui/bmp_builder.h"
#include "ui/key_shape.h"

namespace pelmo::ui {
namespace {

// Each device pixel must be the engine pixel it lies in, and nothing else.
void ExpectReplicated(const Picture& source, const Picture& scaled, int n) {
  ASSERT_EQ(scaled.width, source.width * n);
  ASSERT_EQ(scaled.height, source.height * n);
  ASSERT_EQ(scaled.pixels.size(), static_cast<std::size_t>(scaled.width * scaled.height));
  for (std::int32_t y = 0; y < scaled.height; ++y)
    for (std::int32_t x = 0; x < scaled.width; ++x)
      ASSERT_EQ(scaled.At(x, y), source.At(x / n, y / n)) << "at " << x << "," << y;
}

std::size_t KeyPixels(const Picture& p) {
  return static_cast<std::size_t>(std::count(p.pixels.begin(), p.pixels.end(), kKeyBlue));
}

TEST(ScaleForDpi, RoundsToTheNearestMultipleOf96WithinBounds) {
  EXPECT_EQ(ScaleForDpi(96), 1);
  EXPECT_EQ(ScaleForDpi(120), 1);
  EXPECT_EQ(ScaleForDpi(143.9), 1);
  EXPECT_EQ(ScaleForDpi(144), 2);
  EXPECT_EQ(ScaleForDpi(192), 2);
  EXPECT_EQ(ScaleForDpi(288), 3);
  EXPECT_EQ(ScaleForDpi(72), 1);
  EXPECT_EQ(ScaleForDpi(0), 1);
  EXPECT_EQ(ScaleForDpi(-192), 1);
  EXPECT_EQ(ScaleForDpi(std::nan("")), 1);
  EXPECT_EQ(ScaleForDpi(1e12), kMaxScale);
  EXPECT_EQ(ScaleForDpi(std::numeric_limits<double>::infinity()), kMaxScale);
}

TEST(Replicate, EveryOutputPixelIsItsSourcePixelAtTwoAndThree) {
  Picture source = testing::Gradient(7, 5);
  source.pixels[3] = kKeyBlue;
  source.pixels[12] = kKeyBlue;
  Picture out = testing::Filled(40, 40, 0x123456);  // reused memory must not show through
  for (int n : {1, 2, 3}) {
    Replicate(source, n, out);
    ExpectReplicated(source, out, n);
    EXPECT_EQ(KeyPixels(out), 2u * n * n);
  }
}

// The real artwork as the compositor presents it: the shape of the scaled frame
// is the frame's own shape with every rectangle N times as large, so it covers
// exactly the scaled non-blue pixels and the server gets no more bands.
TEST(DisplayScale, ScaledFramesKeepTheKeyExactAndTheShapeScaled) {
  const engine::Scene scene = engine::InitialScene({0, 0, 1280, 720});
  for (std::string_view name :
       {engine::names::kBasic1, engine::names::kBeer, engine::names::kSleep1}) {
    engine::Scene s = scene;
    s.PelmoImg.Picture = name;
    Compositor compositor;
    const Presentation source = compositor.Present(WindowId::Form1, s);
    const std::vector<ScreenRect> sourceShape = KeyShape(*source.buffer);
    for (int n : {2, 3}) {
      DisplayScale scale(n);
      const Presentation device = scale.ToDevice(WindowId::Form1, source);
      SCOPED_TRACE(std::string(name) + " at " + std::to_string(n));
      ExpectReplicated(*source.buffer, *device.buffer, n);
      EXPECT_EQ(KeyPixels(*device.buffer), KeyPixels(*source.buffer) * n * n);
      std::vector<ScreenRect> expected;
      for (const ScreenRect& r : sourceShape)
        expected.push_back({r.left * n, r.top * n, r.width * n, r.height * n});
      EXPECT_EQ(KeyShape(*device.buffer), expected);
    }
  }
}

TEST(DisplayScale, AFigureWithoutBlueGetsNoBlue) {
  const Picture solid = testing::Gradient(30, 20);
  Presentation p{true, {5, 6, 30, 20}, &solid, true, true, 9};
  DisplayScale scale(3);
  const Presentation device = scale.ToDevice(WindowId::SunForm, p);
  EXPECT_EQ(KeyPixels(*device.buffer), 0u);
  EXPECT_EQ(KeyShape(*device.buffer), (std::vector<ScreenRect>{{0, 0, 90, 60}}));
}

TEST(DisplayScale, AtOneThePresentationPassesUnchanged) {
  const Picture picture = testing::Gradient(4, 3);
  const Presentation p{true, {-7, 9, 4, 3}, &picture, true, true, 42};
  DisplayScale scale;
  const Presentation device = scale.ToDevice(WindowId::Form1, p);
  EXPECT_EQ(device.rect, p.rect);
  EXPECT_EQ(device.buffer, &picture);
  EXPECT_EQ(device.frameId, 42u);
  EXPECT_TRUE(device.pixelsChanged);
}

TEST(DisplayScale, PlacesAndSizesGrowNTimes) {
  const Picture picture = testing::Gradient(4, 3);
  DisplayScale scale(2);
  const Presentation device =
      scale.ToDevice(WindowId::Form1, {true, {-7, 9, 4, 3}, &picture, true, true, 1});
  EXPECT_EQ(device.rect, (ScreenRect{-14, 18, 8, 6}));
  EXPECT_FALSE(scale.ToDevice(WindowId::Form1, {}).visible);
}

// A walk flips between two frames: once both are replicated, showing them again
// copies nothing, and the ids a front-end keeps its frames by differ per scale.
TEST(DisplayScale, FramesAreKeptAndTheirIdsDifferPerScale) {
  const Picture a = testing::Gradient(10, 10);
  const Picture b = testing::Filled(10, 10, 0x00FF00);
  DisplayScale scale(2);
  const Presentation pa{true, {0, 0, 10, 10}, &a, true, true, 1};
  const Presentation pb{true, {3, 0, 10, 10}, &b, true, true, 2};
  const std::uint32_t* aPixels = scale.ToDevice(WindowId::Form1, pa).buffer->pixels.data();
  const std::uint32_t* bPixels = scale.ToDevice(WindowId::Form1, pb).buffer->pixels.data();
  const Presentation again = scale.ToDevice(WindowId::Form1, pa);
  EXPECT_EQ(again.buffer->pixels.data(), aPixels);
  EXPECT_TRUE(again.pixelsChanged);
  EXPECT_EQ(scale.ToDevice(WindowId::Form1, pb).buffer->pixels.data(), bPixels);
  EXPECT_FALSE(scale.ToDevice(WindowId::Form1, pb).pixelsChanged);

  const std::uint64_t at2 = scale.ToDevice(WindowId::Form1, pa).frameId;
  EXPECT_NE(at2, scale.ToDevice(WindowId::Form1, pb).frameId);
  scale.SetFactor(3);
  const Presentation at3 = scale.ToDevice(WindowId::Form1, pb);
  EXPECT_TRUE(at3.pixelsChanged);  // the same frame, shown at a new scale
  ExpectReplicated(b, *at3.buffer, 3);
  const std::uint64_t id3 = scale.ToDevice(WindowId::Form1, pa).frameId;
  scale.SetFactor(1);
  const std::uint64_t id1 = scale.ToDevice(WindowId::Form1, pa).frameId;
  EXPECT_EQ(id1, 1u);
  EXPECT_NE(at2, id3);
  EXPECT_NE(at2, id1);
  EXPECT_NE(id3, id1);
}

TEST(DisplayScale, APartTooLargeToDrawScaledIsReported) {
  const Picture wide = testing::Filled(1 << 13, 1 << 12, 0xFF0000);  // 2^25 pixels
  DisplayScale scale(2);
  EXPECT_THROW(
      scale.ToDevice(WindowId::Form1, {true, {0, 0, 1 << 13, 1 << 12}, &wide, true, true, 5}),
      PictureError);
}

TEST(DisplayScale, TheEngineGetsThePixelsItsOwnPixelsCover) {
  DisplayScale scale(2);
  EXPECT_EQ(scale.ToEngine(engine::Point{2001, 1199}), (engine::Point{1000, 599}));
  EXPECT_EQ(scale.ToEngine(engine::Point{-1, -2}), (engine::Point{-1, -1}));
  EXPECT_EQ(scale.ToEngine(engine::Point{-3, 0}), (engine::Point{-2, 0}));
  EXPECT_EQ(scale.ToDevice(engine::Point{-2, 600}), (engine::Point{-4, 1200}));
  // A panel of an odd height: the engine's work area stays within the device's.
  EXPECT_EQ(scale.ToEngine(engine::WorkArea{0, 25, 2560, 1575}),
            (engine::WorkArea{0, 13, 1280, 787}));
  EXPECT_EQ(scale.ToEngine(engine::WorkArea{-1281, -3, 1, 5}), (engine::WorkArea{-640, -1, 0, 2}));
  scale.SetFactor(0);
  EXPECT_EQ(scale.Factor(), 1);
  scale.SetFactor(100);
  EXPECT_EQ(scale.Factor(), kMaxScale);
}

}  // namespace
}  // namespace pelmo::ui
