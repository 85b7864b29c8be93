#pragma once

#include <cstdint>

namespace pelmo::engine {

// What the mascot is doing. The numbers are part of the design: the tick compares
// modes by value (everything below RainEpisode gets its picture bounds reset).
enum class BehaviourMode : std::int32_t {
  Sleep = -1,
  Idle = 0,
  Walk = 1,
  Eat = 2,
  Drunk = 3,
  Spin = 4,
  Split = 5,
  RainEpisode = 6,
  SunEpisode = 7,
  Depart = 8,
};

enum class FoodKind : std::int32_t { None = 0, Candy = 1, Fishcake = 2, Dango = 3, Beer = 4 };

// The one record of behaviour state, six signed 32-bit fields in this order.
// `mode` is kept as a plain integer so that the record stays exactly what it is
// in the design; use Mode() for the typed view.
struct MascotState {
  std::int32_t food = 0;
  std::int32_t targetX = 0;
  std::int32_t targetY = 0;
  std::int32_t dragging = 0;
  std::int32_t mode = 0;
  std::int32_t tick = 0;

  BehaviourMode Mode() const { return static_cast<BehaviourMode>(mode); }
  void SetMode(BehaviourMode m) { mode = static_cast<std::int32_t>(m); }
};

}  // namespace pelmo::engine
