// pelmo-contact-sheet OUT.png [NAME...]
//
// Lays every picture of the catalogue (or only the named ones) on one sheet for review: each
// enlarged four times by repeating pixels, its name above it, and the see-through key blue shown
// as a grey checkerboard so the figure's true outline, including any dark-blue rim, stands out.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "assets/catalogue.h"
#include "assets/contact_sheet/font.h"
#include "tools/png_writer.h"
#include "ui/picture.h"

using namespace pelmo::assets;

namespace {

constexpr int kSheetWidth = 1880;
constexpr int kMargin = 16;
constexpr int kLetterScale = 2;
constexpr int kLabelHeight = sheet::kGlyphHeight * kLetterScale + 6;
constexpr std::uint32_t kPaper = 0xFFFFFF;
constexpr std::uint32_t kInk = 0x282828;

using pelmo::ui::Picture;

struct Canvas {
  Picture picture;

  void Set(int x, int y, std::uint32_t c) {
    if (x >= 0 && y >= 0 && x < picture.width && y < picture.height)
      picture.pixels[static_cast<std::size_t>(y) * picture.width + x] = c;
  }
};

struct Tile {
  std::string name;
  Picture picture;
  int scale;
  int x = 0, y = 0;
  int Width() const { return std::max(picture.width * scale, static_cast<int>(name.size()) * 12); }
  int Height() const { return picture.height * scale + kLabelHeight; }
};

void DrawText(Canvas& c, int x, int y, const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto glyph = sheet::Glyph(text[i]);
    for (int gy = 0; gy < sheet::kGlyphHeight; ++gy) {
      for (int gx = 0; gx < sheet::kGlyphWidth; ++gx) {
        if (glyph[gy][gx] != '#') continue;
        for (int k = 0; k < kLetterScale * kLetterScale; ++k) {
          c.Set(x + static_cast<int>(i) * 6 * kLetterScale + gx * kLetterScale + k % kLetterScale,
                y + gy * kLetterScale + k / kLetterScale, kInk);
        }
      }
    }
  }
}

void DrawTile(Canvas& c, const Tile& t) {
  DrawText(c, t.x, t.y, t.name);
  const int top = t.y + kLabelHeight;
  for (int y = 0; y < t.picture.height * t.scale; ++y) {
    for (int x = 0; x < t.picture.width * t.scale; ++x) {
      std::uint32_t colour = t.picture.At(x / t.scale, y / t.scale);
      if (colour == pelmo::ui::kKeyBlue) colour = ((x / 8 + y / 8) % 2 == 0) ? 0xCCCCCC : 0xECECEC;
      c.Set(t.x + x, top + y, colour);
    }
  }
}

// Places tiles left to right, starting a new shelf when the sheet's width runs out.
int Arrange(std::vector<Tile>& tiles) {
  int x = kMargin, y = kMargin, shelf = 0;
  for (Tile& t : tiles) {
    if (x > kMargin && x + t.Width() > kSheetWidth - kMargin) {
      x = kMargin;
      y += shelf + kMargin;
      shelf = 0;
    }
    t.x = x;
    t.y = y;
    x += t.Width() + kMargin;
    shelf = std::max(shelf, t.Height());
  }
  return y + shelf + kMargin;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUT.png [NAME...]\n", argv[0]);
    return 2;
  }
  const std::vector<std::string> wanted(argv + 2, argv + argc);
  std::vector<Tile> tiles;
  for (const AssetInfo& info : Catalogue()) {
    if (info.kind != AssetKind::Bitmap) continue;
    const std::string name(info.name);
    if (!wanted.empty() && std::find(wanted.begin(), wanted.end(), name) == wanted.end()) continue;
    Picture picture;
    try {
      picture = pelmo::ui::LoadPicture(name);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "pelmo-contact-sheet: %s\n", e.what());
      return 1;
    }
    // Four times, unless that would not fit the sheet: then as large as fits by halving.
    int scale = 4;
    while (scale > 1 && picture.width * scale > kSheetWidth - 2 * kMargin) scale /= 2;
    tiles.push_back({name, std::move(picture), scale});
  }
  const int height = Arrange(tiles);
  Canvas canvas{
      {kSheetWidth, height,
       std::vector<std::uint32_t>(static_cast<std::size_t>(kSheetWidth) * height, kPaper)}};
  for (const Tile& t : tiles) DrawTile(canvas, t);

  try {
    pelmo::tools::WritePng(argv[1], canvas.picture);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "pelmo-contact-sheet: %s\n", e.what());
    return 1;
  }
  return 0;
}
