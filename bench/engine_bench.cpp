// The cost of one behaviour tick in each mode. Each iteration first puts the
// mascot back into a representative moment of the mode (a handful of stores)
// so that the mode does not end under the benchmark.
#include <benchmark/benchmark.h>

#include <functional>

#include "engine/engine.h"

namespace pelmo::engine {
namespace {

void TickIn(benchmark::State& state, BehaviourMode mode, std::int32_t tick,
            const std::function<void(Engine&)>& setUp = {}) {
  Engine engine(1, {0, 0, 1920, 1040});
  Scene& sc = engine.GetScene();
  MascotState& st = engine.State();
  if (setUp) setUp(engine);
  for (auto _ : state) {
    st.SetMode(mode);
    st.tick = tick;
    sc.Form1.Left = 900;
    sc.Form1.Top = 600;
    sc.PelmoImg.Width = 400;
    sc.PelmoImg.Height = 300;
    engine.Timer1Timer();
    sc.effects.cues.clear();
    benchmark::DoNotOptimize(sc.PelmoImg.Picture);
  }
}

void BM_TickSleep(benchmark::State& s) {
  TickIn(s, BehaviourMode::Sleep, 3);
}
void BM_TickIdle(benchmark::State& s) {
  TickIn(s, BehaviourMode::Idle, 3);
}
void BM_TickWalk(benchmark::State& s) {
  TickIn(s, BehaviourMode::Walk, 3, [](Engine& e) {
    e.State().targetX = 100;
    e.State().targetY = 100;
  });
}
void BM_TickEat(benchmark::State& s) {
  TickIn(s, BehaviourMode::Eat, 4, [](Engine& e) { e.State().food = 2; });
}
void BM_TickDrunk(benchmark::State& s) {
  TickIn(s, BehaviourMode::Drunk, 30);
}
void BM_TickSpin(benchmark::State& s) {
  TickIn(s, BehaviourMode::Spin, 30);
}
void BM_TickSplitWithCue(benchmark::State& s) {
  TickIn(s, BehaviourMode::Split, 19);
}
void BM_TickRainSwelling(benchmark::State& s) {
  TickIn(s, BehaviourMode::RainEpisode, 100);
}
void BM_TickSunShrinking(benchmark::State& s) {
  TickIn(s, BehaviourMode::SunEpisode, 30);
}
void BM_TickDepartRising(benchmark::State& s) {
  TickIn(s, BehaviourMode::Depart, 15);
}
void BM_TickDragging(benchmark::State& s) {
  TickIn(s, BehaviourMode::Idle, 3, [](Engine& e) {
    e.State().dragging = 1;
    e.GetScene().pointer = {200, 200};
  });
}

BENCHMARK(BM_TickSleep);
BENCHMARK(BM_TickIdle);
BENCHMARK(BM_TickWalk);
BENCHMARK(BM_TickEat);
BENCHMARK(BM_TickDrunk);
BENCHMARK(BM_TickSpin);
BENCHMARK(BM_TickSplitWithCue);
BENCHMARK(BM_TickRainSwelling);
BENCHMARK(BM_TickSunShrinking);
BENCHMARK(BM_TickDepartRising);
BENCHMARK(BM_TickDragging);

}  // namespace
}  // namespace pelmo::engine
