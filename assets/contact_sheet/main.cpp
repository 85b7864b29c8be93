// pelmo-contact-sheet OUT.png [NAME...]
//
// Lays every picture of the catalogue (or only the named ones) on one sheet for review: each
// enlarged four times by repeating pixels, its name above it, and the see-through key blue shown
// as a grey checkerboard so the figure's true outline, including any dark-blue rim, stands out.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "assets/catalogue.h"
#include "assets/contact_sheet/font.h"
#include "assets/reader/bmp_reader.h"
#include "tools/png_writer.h"

using namespace pelmo::assets;

namespace {

constexpr int kSheetWidth = 1880;
constexpr int kMargin = 16;
constexpr int kLetterScale = 2;
constexpr int kLabelHeight = sheet::kGlyphHeight * kLetterScale + 6;
constexpr Rgb8 kPaper{255, 255, 255};
constexpr Rgb8 kInk{40, 40, 40};
constexpr Rgb8 kKeyBlue{0, 0, 255};

struct Canvas {
  int width;
  int height;
  std::vector<Rgb8> pixels;

  void Set(int x, int y, Rgb8 c) {
    if (x >= 0 && y >= 0 && x < width && y < height) pixels[y * width + x] = c;
  }
};

struct Tile {
  std::string name;
  DecodedBmp picture;
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
      Rgb8 colour = t.picture.at(x / t.scale, y / t.scale);
      if (colour == kKeyBlue) {
        colour = ((x / 8 + y / 8) % 2 == 0) ? Rgb8{204, 204, 204} : Rgb8{236, 236, 236};
      }
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
    auto picture = DecodeBmp(*FindAsset(name));
    if (!picture) {
      std::fprintf(stderr, "cannot read %s\n", name.c_str());
      return 1;
    }
    // Four times, unless that would not fit the sheet: then as large as fits by halving.
    int scale = 4;
    while (scale > 1 && picture->width * scale > kSheetWidth - 2 * kMargin) scale /= 2;
    tiles.push_back({name, *picture, scale});
  }
  const int height = Arrange(tiles);
  Canvas canvas{kSheetWidth, height, std::vector<Rgb8>(kSheetWidth * height, kPaper)};
  for (const Tile& t : tiles) DrawTile(canvas, t);

  pelmo::ui::Picture sheet{canvas.width, canvas.height, {}};
  sheet.pixels.reserve(canvas.pixels.size());
  for (Rgb8 p : canvas.pixels) sheet.pixels.push_back((p.r << 16) | (p.g << 8) | p.b);
  try {
    pelmo::tools::WritePng(argv[1], sheet);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "pelmo-contact-sheet: %s\n", e.what());
    return 1;
  }
  return 0;
}
