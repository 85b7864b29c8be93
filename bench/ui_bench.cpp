// The cost of putting pictures on screen: loading by name (there is no cache, so
// every frame change pays it) and a whole tick of the rain's swelling with the
// mascot window's presentation, on three work-area sizes. The presented buffer
// follows the sprite, so the three sizes should cost about the same.
#include <benchmark/benchmark.h>

#include "engine/engine.h"
#include "engine/picture_names.h"
#include "ui/compositor.h"
#include "ui/picture.h"

namespace pelmo::ui {
namespace {

void BM_LoadFrame150x100(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(LoadPicture(engine::names::kBasic1));
}

void BM_LoadBig1200x800(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(LoadPicture(engine::names::kBig));
}

// One walking tick: a new frame name every tick, so each one loads and composes.
void BM_WalkTickWithPresentation(benchmark::State& state) {
  engine::Engine engine(1, {0, 0, 1920, 1040});
  Compositor compositor;
  engine::MascotState& st = engine.State();
  for (auto _ : state) {
    st.SetMode(engine::BehaviourMode::Walk);
    st.targetX = 100;
    st.targetY = 100;
    engine.GetScene().Form1.Left = 900;
    engine.GetScene().Form1.Top = 600;
    engine.Timer1Timer();
    benchmark::DoNotOptimize(compositor.Present(WindowId::Form1, engine.GetScene()));
  }
}

// A tick 60 ticks into the swelling (the stretched mascot about 750 x 520), then
// Form1's presentation. Consecutive iterations differ in size so that every
// one really composes.
void BM_SwellingTickWithPresentation(benchmark::State& state) {
  const auto width = static_cast<std::int32_t>(state.range(0));
  const auto height = static_cast<std::int32_t>(state.range(1));
  engine::Engine engine(1, {0, 0, width, height});
  engine::Scene& scene = engine.GetScene();
  Compositor compositor;
  std::int32_t i = 0;
  for (auto _ : state) {
    engine.State().SetMode(engine::BehaviourMode::RainEpisode);
    engine.State().tick = 100;
    scene.RainImg.Top = -500;
    scene.Form1.Left = 200;
    scene.Form1.Top = 100;
    scene.PelmoImg.Width = 740 + 10 * (i & 1);
    scene.PelmoImg.Height = 513 + 7 * (i & 1);
    ++i;
    engine.Timer1Timer();
    const Presentation p = compositor.Present(WindowId::Form1, scene);
    if (!p.pixelsChanged) state.SkipWithError("the tick did not recompose");
    benchmark::DoNotOptimize(p.buffer->pixels.data());
  }
}

BENCHMARK(BM_LoadFrame150x100);
BENCHMARK(BM_LoadBig1200x800)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WalkTickWithPresentation);
BENCHMARK(BM_SwellingTickWithPresentation)
    ->Args({1280, 720})
    ->Args({1920, 1040})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pelmo::ui
