#pragma once

#include <array>
#include <vector>

#include "assets/generator/layer.h"

namespace pelmo::assets::gen {

// Line weights of the mascot at its usual 150x100 size, in pixels.
inline constexpr double kOutline = 3.6;
inline constexpr double kTuftWidth = 2.4;
inline constexpr double kEyeRadius = 3.3;
inline constexpr double kMouthWidth = 2.4;

// One hair of the tuft: it leaves the root, bends through `bend` and ends at `tip`.
struct Sprig {
  Vec bend;
  Vec tip;
};
using Tuft = std::array<Sprig, 3>;

// The body: the wide end around `head`, the narrow end around `tail`.
Shape Body(Vec head, double head_r, Vec tail, double tail_r);

// The cream body with its thick dark outline.
void PaintBody(Painter& p, const Shape& body);
// Tufts are painted before the body, so the hairs grow out from under its outline.
void PaintTuft(Painter& p, Vec root, const Tuft& tuft, double width = kTuftWidth);
void PaintDot(Painter& p, Vec centre, double radius = kEyeRadius);
// An open eye: a dark dot with a glint of white toward the upper left.
void PaintEye(Painter& p, Vec centre, double radius = kEyeRadius);
void PaintLine(Painter& p, std::vector<Vec> points, double width = kMouthWidth);

}  // namespace pelmo::assets::gen
