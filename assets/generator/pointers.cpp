#include <algorithm>
#include <numeric>

#include "assets/generator/icon_art.h"
#include "assets/generator/makers.h"
#include "assets/generator/mascot.h"

namespace pelmo::assets::gen {
namespace {

constexpr int kCell = 32;

// The standard 16 colours, in their usual order.
constexpr std::array<Rgb, 16> kSixteen{{{0, 0, 0},
                                        {128, 0, 0},
                                        {0, 128, 0},
                                        {128, 128, 0},
                                        {0, 0, 128},
                                        {128, 0, 128},
                                        {0, 128, 128},
                                        {192, 192, 192},
                                        {128, 128, 128},
                                        {255, 0, 0},
                                        {0, 255, 0},
                                        {255, 255, 0},
                                        {0, 0, 255},
                                        {255, 0, 255},
                                        {0, 255, 255},
                                        {255, 255, 255}}};
constexpr Rgb kBerryRed = kSixteen[9];
constexpr Rgb kBerryEdge = kSixteen[1];
constexpr Rgb kLeafGreen = kSixteen[10];
constexpr Rgb kLeafEdge = kSixteen[2];
constexpr Rgb kSeed = kSixteen[11];
constexpr Rgb kBlack{0, 0, 0};

// A strawberry leaning with its tip to the lower left and its leafy top to the upper right, so
// the pointer's hot spot, the cell's top-left corner, sits just off it.
Art Strawberry() {
  return [](Painter& p) {
    p.Outlined(Body({19.5, 13.5}, 8.8, {8, 22.5}, 2.6), kBerryRed, kBerryEdge, 1.0);
    for (Vec seed : {Vec{15.5, 12.5}, Vec{20.5, 15.5}, Vec{12.5, 18.5}, Vec{17.5, 19.5},
                     Vec{23.5, 12.5}, Vec{10.5, 21.5}, Vec{19.5, 9.5}}) {
      p.Fill(Circle(seed, 0.6), kSeed);
    }
    Shape calyx = Union({Ellipse({21.5, 7}, 4.5, 1.8, -20), Ellipse({25.5, 10}, 4.5, 1.8, 70),
                         Ellipse({25, 6}, 3.6, 1.6, 35), Stroke({{25, 7}, {28, 4.5}}, 1.6)});
    p.Outlined(calyx, kLeafGreen, kLeafEdge, 0.9);
  };
}

Art IconFace() {
  return [](Painter& p) {
    p.Fill(Offset(IconBody(), -1.5), kWhite);
    p.Fill(Ellipse({11, 20.5}, 1.2, 1.7), kBlack);
    p.Fill(Ellipse({21, 20.5}, 1.2, 1.7), kBlack);
  };
}

Bytes MakeCursor() {
  const Art art = Strawberry();
  const Transform t = FitToBox(kCell, kCell, {3, 5, 28, 25}, art, 0.5, true);
  const Layer layer = Render(kCell, kCell, t, art, true);
  IndexedImage image{kCell, kCell, std::vector<std::uint8_t>(kCell * kCell, 0)};
  std::vector<bool> transparent(kCell * kCell, true);
  for (int y = 0; y < kCell; ++y) {
    for (int x = 0; x < kCell; ++x) {
      const Texel& c = layer.at(x, y);
      if (c.a < 0.5) continue;
      const Rgb colour{static_cast<std::uint8_t>(c.r), static_cast<std::uint8_t>(c.g),
                       static_cast<std::uint8_t>(c.b)};
      const auto index = std::find(kSixteen.begin(), kSixteen.end(), colour) - kSixteen.begin();
      image.indices[y * kCell + x] = static_cast<std::uint8_t>(index);
      transparent[y * kCell + x] = false;
    }
  }
  return EncodeCursor(image, kSixteen, transparent);
}

// The program's own icon: the mascot's face from the front, white with a black outline.
// The icon's mask leaves exactly 339 of its 1024 pixels see-through: the pixels farthest outside
// the silhouette are taken first, so the outline keeps its shape whatever the count demands.
Bytes MakeIcon() {
  constexpr int kTransparent = 339;
  const Shape silhouette = IconSilhouette();
  std::vector<double> outside(kCell * kCell);
  for (int i = 0; i < kCell * kCell; ++i) {
    outside[i] = silhouette.distance({i % kCell + 0.5, i / kCell + 0.5});
  }
  std::vector<int> order(kCell * kCell);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return outside[a] > outside[b]; });
  std::vector<bool> transparent(kCell * kCell, false);
  for (int i = 0; i < kTransparent; ++i) transparent[order[i]] = true;

  const Layer face = Render(kCell, kCell, {}, IconFace(), true);
  Picture picture(kCell, kCell);
  for (int y = 0; y < kCell; ++y) {
    for (int x = 0; x < kCell; ++x) {
      const Texel& c = face.at(x, y);
      const bool clear = transparent[y * kCell + x];
      picture.at(x, y) = clear ? kBlack
                               : Rgb{static_cast<std::uint8_t>(c.r), static_cast<std::uint8_t>(c.g),
                                     static_cast<std::uint8_t>(c.b)};
    }
  }
  return EncodeIcon(picture, transparent);
}

}  // namespace

void MakePointers(AssetSet& set) {
  set.Add("MYCURSOR", MakeCursor());
  set.Add("MAINICON", MakeIcon());
}

}  // namespace pelmo::assets::gen
