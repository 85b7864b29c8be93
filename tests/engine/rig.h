#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "engine/engine.h"

namespace pelmo::engine::testing {

// An engine on a 1920x1040 desktop with handy access to what the tests look at.
struct Rig {
  explicit Rig(std::uint32_t seed = 0, WorkArea area = {0, 0, 1920, 1040}) : engine(seed, area) {}

  MascotState& st() { return engine.State(); }
  Scene& sc() { return engine.GetScene(); }
  BehaviourMode mode() { return engine.State().Mode(); }
  std::string_view picture() { return engine.GetScene().PelmoImg.Picture; }

  void Tick(int n = 1) {
    for (int i = 0; i < n; ++i) engine.FireTimer1();
  }
  void PlaceMascot(std::int32_t x, std::int32_t y) {
    sc().Form1.Left = x;
    sc().Form1.Top = y;
  }
  void PlaceFood(std::int32_t x, std::int32_t y) {
    sc().FoodForm.Left = x;
    sc().FoodForm.Top = y;
  }
  // The names of the cues asked for since the last call ("stop" for StopCue).
  std::vector<std::string_view> TakeCues() {
    std::vector<std::string_view> names;
    for (const CueEvent& cue : sc().effects.cues)
      names.push_back(cue.kind == CueEvent::Kind::Stop ? std::string_view("stop") : cue.name);
    sc().effects.cues.clear();
    return names;
  }

  Engine engine;
};

// The first seed whose generator, right after seeding, satisfies `wanted`.
inline std::uint32_t SeedWhere(const std::function<bool(Random&)>& wanted) {
  for (std::uint32_t seed = 0;; ++seed) {
    Random random(seed);
    if (wanted(random)) return seed;
  }
}

}  // namespace pelmo::engine::testing
