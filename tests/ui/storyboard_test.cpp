#include "tools/storyboard.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/ui/bmp_builder.h"
#include "tools/gif_writer.h"

namespace pelmo::tools {
namespace {

using ui::kKeyBlue;
using ui::Picture;

Picture Square(std::uint32_t colour) {
  Picture p = ui::testing::Filled(150, 100, kKeyBlue);
  for (std::int32_t y = 10; y < 20; ++y)
    for (std::int32_t x = 10; x < 20; ++x) p.pixels[static_cast<std::size_t>(y * 150 + x)] = colour;
  return p;
}

TEST(Storyboard, KeysOutBlueAndStacksLaterWindowsOnTop) {
  Storyboard storyboard(ui::Compositor(
      [](std::string_view name) { return Square(name == "MASCOT" ? 0xFFFFCC : 0xFF6600); }));
  engine::Scene scene = engine::InitialScene({0, 0, 400, 300});
  scene.PelmoImg.Picture = "MASCOT";
  scene.Form1.Left = 100;
  scene.Form1.Top = 50;
  scene.FoodImg.Picture = "FOOD";
  scene.FoodForm.Left = 105;  // its square overlaps the mascot's by 5 pixels
  scene.FoodForm.Top = 50;
  storyboard.Record(scene);
  scene.Form1.Left = 0;
  storyboard.Record(scene);

  const Picture first = storyboard.Render(0, {0, 0, 400, 300}, 1);
  EXPECT_EQ(first.At(0, 0), kDesktopColour);
  EXPECT_EQ(first.At(110, 60), 0xFFFFCCu);
  EXPECT_EQ(first.At(115, 60), 0xFF6600u);  // the food window is above the mascot's
  EXPECT_EQ(first.At(130, 80), kDesktopColour);
  const Picture second = storyboard.Render(1, {0, 0, 400, 300}, 1);
  EXPECT_EQ(second.At(10, 60), 0xFFFFCCu);

  EXPECT_EQ(storyboard.ActionBounds(0), (ui::ScreenRect{0, 50, 250, 169}));
  const Picture shrunk = storyboard.Render(1, {0, 50, 40, 40}, 2);
  EXPECT_EQ(shrunk.width, 20);
  EXPECT_EQ(shrunk.At(5, 5), 0xFFFFCCu);
}

// A GIF reader just good enough to check the writer: single images, local colour
// tables, LZW with clear codes.
std::vector<std::uint32_t> ReadFirstImage(const std::vector<std::uint8_t>& gif, int& width,
                                          int& height) {
  std::size_t at = 13;       // header and screen descriptor
  while (gif[at] == 0x21) {  // extensions
    at += 2;
    while (gif[at] != 0) at += gif[at] + 1;
    ++at;
  }
  EXPECT_EQ(gif[at], 0x2C);
  width = gif[at + 5] | gif[at + 6] << 8;
  height = gif[at + 7] | gif[at + 8] << 8;
  std::vector<std::uint32_t> palette(256);
  at += 10;
  for (int i = 0; i < 256; ++i, at += 3)
    palette[static_cast<std::size_t>(i)] =
        static_cast<std::uint32_t>(gif[at] << 16 | gif[at + 1] << 8 | gif[at + 2]);
  const int minCode = gif[at++];
  std::vector<std::uint8_t> data;
  while (gif[at] != 0) {
    data.insert(data.end(), gif.begin() + static_cast<long>(at + 1),
                gif.begin() + static_cast<long>(at + 1 + gif[at]));
    at += gif[at] + 1u;
  }
  const int clear = 1 << minCode;
  std::vector<std::vector<std::uint8_t>> table;
  int size = minCode + 1;
  std::size_t bit = 0;
  std::vector<std::uint8_t> previous;
  std::vector<std::uint32_t> out;
  const auto reset = [&] {
    table.assign(static_cast<std::size_t>(clear + 2), {});
    for (int i = 0; i < clear; ++i)
      table[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(i)};
    size = minCode + 1;
    previous.clear();
  };
  reset();
  for (;;) {
    int code = 0;
    for (int i = 0; i < size; ++i, ++bit) code |= ((data[bit / 8] >> (bit % 8)) & 1) << i;
    if (code == clear) {
      reset();
      continue;
    }
    if (code == clear + 1) break;
    std::vector<std::uint8_t> entry;
    if (static_cast<std::size_t>(code) < table.size()) {
      entry = table[static_cast<std::size_t>(code)];
    } else {
      entry = previous;
      entry.push_back(previous.front());
    }
    if (!previous.empty() && table.size() < 4096) {
      auto added = previous;
      added.push_back(entry.front());
      table.push_back(added);
      if (table.size() == (1u << size) && size < 12) ++size;
    }
    for (std::uint8_t index : entry) out.push_back(palette[index]);
    previous = entry;
  }
  return out;
}

TEST(GifWriter, WritesFramesADecoderReadsBackExactly) {
  // Many colours in a long run of varied pixels: the code table fills and restarts.
  Picture frame = ui::testing::Filled(200, 150, 0);
  for (std::size_t i = 0; i < frame.pixels.size(); ++i)
    frame.pixels[i] = static_cast<std::uint32_t>((i * 2654435761u >> 13) % 200) * 0x010203u;
  const auto path = std::filesystem::temp_directory_path() / "pelmo-gif-writer-test.gif";
  {
    GifWriter gif(path.string(), 200, 150);
    gif.AddFrame(frame, 10);
    gif.Finish();
  }
  std::vector<std::uint8_t> bytes;
  {
    // Closed before the removal: Windows refuses to delete an open file.
    std::ifstream file(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(file), {});
  }
  std::filesystem::remove(path);
  ASSERT_GT(bytes.size(), 800u);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "GIF89a");
  EXPECT_EQ(bytes.back(), 0x3B);
  int width = 0, height = 0;
  EXPECT_EQ(ReadFirstImage(bytes, width, height), frame.pixels);
  EXPECT_EQ(width, 200);
  EXPECT_EQ(height, 150);
}

}  // namespace
}  // namespace pelmo::tools
