#pragma once

#include <cstdint>

#include "engine/geometry.h"

namespace pelmo::engine {

// The program's single pseudo-random generator: a 32-bit linear congruential
// generator whose draws are 15 bits wide (0 to 32767).
class Random {
 public:
  explicit Random(std::uint32_t seed = 0) { SeedRandom(seed); }

  // state := seed, then one draw that is thrown away.
  void SeedRandom(std::uint32_t seed);
  // state := state * 22695477 + 1 (mod 2^32); returns bits 16..30 of the new state.
  std::int32_t NextRandom();
  // x drawn first, then y; lies in [left, right - 1] x [top, bottom - 1].
  // An empty (or inverted) span cannot be divided by: that coordinate is the
  // area's left or top edge, and its draw is still made so that the sequence of
  // draws never depends on the desktop's geometry.
  Point RandomWorkAreaPoint(const WorkArea& area);

  std::uint32_t State() const { return state_; }

 private:
  std::uint32_t state_ = 0;
};

}  // namespace pelmo::engine
