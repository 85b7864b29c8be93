#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "assets/generator/makers.h"
#include "assets/generator/standard_palette.h"

namespace pelmo::assets::gen {
namespace {

constexpr int kW = 1200;
constexpr int kH = 800;
constexpr PixelBox kBox{26, 39, 1191, 767};
// Share of the picture left as background: the giant covers the same part of its canvas whatever
// the build, so the swelling looks the same.
constexpr double kBackgroundShare = 0.421;

// How many palette entries the figure may use: the few colours of its smooth inner transitions.
constexpr std::size_t kFigureColours = 20;

// The nearest palette entry to a colour among `allowed` entries.
int Nearest(const std::array<Rgb, 256>& palette, const std::vector<bool>& allowed, double r,
            double g, double b) {
  int best = 0;
  double best_d = 1e300;
  for (int i = 0; i < 256; ++i) {
    if (!allowed[i]) continue;
    const double d = (palette[i].r - r) * (palette[i].r - r) +
                     (palette[i].g - g) * (palette[i].g - g) +
                     (palette[i].b - b) * (palette[i].b - b);
    if (d < best_d) {
      best_d = d;
      best = i;
    }
  }
  return best;
}

std::vector<bool> AllButKey() {
  std::vector<bool> allowed(256, true);
  allowed[kPaletteKeyBlue] = false;
  return allowed;
}

// The pose drawn into the box with a hard silhouette: a pixel is figure when the drawing covers
// at least half of it, and then takes the nearest palette colour to the drawing's own colour there,
// never blended with the blue. Inside the figure the soft transitions remain.
IndexedImage Draw(double plump, const std::array<Rgb, 256>& palette) {
  const Art art = LyingArt(plump);
  const Layer layer = Render(kW, kH, FitToBox(kW, kH, kBox, art, 0.5), art);
  IndexedImage image{kW, kH, std::vector<std::uint8_t>(kW * kH, kPaletteKeyBlue)};
  const std::vector<bool> figure_colours = AllButKey();
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const Texel& t = layer.at(x, y);
      if (t.a < 0.5) continue;
      image.indices[y * kW + x] = static_cast<std::uint8_t>(
          Nearest(palette, figure_colours, t.r / t.a, t.g / t.a, t.b / t.a));
    }
  }
  return image;
}

// Keeps the figure to its most used colours: the rare blends, a handful of pixels where three
// colours meet, take the nearest colour kept.
void KeepMostUsed(IndexedImage& image, const std::array<Rgb, 256>& palette) {
  std::vector<long> uses(256, 0);
  for (std::uint8_t i : image.indices) ++uses[i];
  uses[kPaletteKeyBlue] = 0;
  std::vector<int> order(256);
  for (int i = 0; i < 256; ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return uses[a] > uses[b]; });
  if (uses[order[kFigureColours - 1]] == 0) throw std::runtime_error("BMP_BIG has too few colours");
  std::vector<bool> kept(256, false);
  for (std::size_t i = 0; i < kFigureColours; ++i) kept[order[i]] = true;
  for (std::uint8_t& i : image.indices) {
    if (i == kPaletteKeyBlue || kept[i]) continue;
    i = static_cast<std::uint8_t>(Nearest(palette, kept, palette[i].r, palette[i].g, palette[i].b));
  }
}

double BackgroundShare(const IndexedImage& image) {
  long background = 0;
  for (std::uint8_t i : image.indices) background += i == kPaletteKeyBlue;
  return static_cast<double>(background) / image.indices.size();
}

}  // namespace

// The lying pose eight times as large, hard-edged because it is shown stretched by picking pixels
// and any soft rim would become a wide blue fringe. Its narrow end is swollen by the fraction of a
// pixel that makes it cover its canvas as intended, found by the secant method.
void MakeBig(AssetSet& set) {
  const std::array<Rgb, 256> palette = StandardPalette();
  double a = -1, b = 1;
  double fa = BackgroundShare(Draw(a, palette)) - kBackgroundShare;
  IndexedImage image = Draw(b, palette);
  double fb = BackgroundShare(image) - kBackgroundShare;
  for (int step = 0; step < 8 && std::abs(fb) > 0.0002; ++step) {
    const double next = b - fb * (b - a) / (fb - fa);
    a = b, fa = fb, b = next;
    image = Draw(b, palette);
    fb = BackgroundShare(image) - kBackgroundShare;
  }
  if (std::abs(fb) > 0.0004) throw std::runtime_error("BMP_BIG cannot cover its share");
  KeepMostUsed(image, palette);
  set.Add("BMP_BIG", EncodeBmp8(image, palette));
}

}  // namespace pelmo::assets::gen
