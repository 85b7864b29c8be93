#include "engine/random.h"

namespace pelmo::engine {

void Random::SeedRandom(std::uint32_t seed) {
  state_ = seed;
  NextRandom();
}

std::int32_t Random::NextRandom() {
  state_ = state_ * 22695477u + 1u;
  return static_cast<std::int32_t>((state_ >> 16) & 0x7FFFu);
}

namespace {

// One coordinate of a random point: a draw modulo the span, offset by the low edge.
std::int32_t DrawWithin(Random& random, std::int32_t low, std::int32_t high) {
  const std::int32_t draw = random.NextRandom();
  const std::int64_t span = static_cast<std::int64_t>(high) - low;
  if (span <= 0) return low;
  return static_cast<std::int32_t>(draw % span + low);
}

}  // namespace

Point Random::RandomWorkAreaPoint(const WorkArea& area) {
  const std::int32_t x = DrawWithin(*this, area.left, area.right);
  const std::int32_t y = DrawWithin(*this, area.top, area.bottom);
  return {x, y};
}

}  // namespace pelmo::engine
