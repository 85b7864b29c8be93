// The cost of putting pictures on screen: loading by name (there is no cache, so
// every frame change pays it) and a whole tick of the rain's swelling with the
// mascot window's presentation, on three work-area sizes. The presented buffer
// follows the sprite, so the three sizes should cost about the same.
//
// The same ticks on a desktop at 100 % and at 200 % (argument N), with what the
// front-end does with them: the presentation in device pixels, and the key
// shape the X front-end makes of each frame it has not seen. A walk shows
// frames already kept; the swelling makes a new large frame on every tick, so
// its cost should grow with the sprite's pixels (4x at N = 2), and no more.
#include <benchmark/benchmark.h>

#include <unordered_set>

#include "engine/engine.h"
#include "engine/picture_names.h"
#include "ui/compositor.h"
#include "ui/display_scale.h"
#include "ui/key_shape.h"
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

// What a front-end does with one presentation of Form1 at scale N.
class ScaledFront {
 public:
  explicit ScaledFront(int n) : scale_(n) {}
  void Show(const Presentation& presentation) {
    const Presentation p = scale_.ToDevice(WindowId::Form1, presentation);
    if (p.visible && p.buffer != nullptr && seen_.insert(p.frameId).second)
      benchmark::DoNotOptimize(KeyShape(*p.buffer));
  }

 private:
  DisplayScale scale_;
  std::unordered_set<std::uint64_t> seen_;
};

// A walk across the desktop, tick after tick, turning back at its end.
void BM_WalkTickAtScale(benchmark::State& state) {
  engine::Engine engine(1, {0, 0, 1920, 1040});
  Compositor compositor;
  ScaledFront front(static_cast<int>(state.range(0)));
  engine::MascotState& st = engine.State();
  engine::Scene& scene = engine.GetScene();
  std::int32_t target = 1700;
  std::int64_t moves = 0;
  for (auto _ : state) {
    const std::int32_t before = scene.Form1.Left;
    if (st.Mode() != engine::BehaviourMode::Walk ||
        engine::Distance1D(scene.Form1.Left, target) < 20) {
      target = target == 1700 ? 100 : 1700;
      st.SetMode(engine::BehaviourMode::Walk);
      st.targetX = target;
      st.targetY = 500;
    }
    engine.Timer1Timer();
    front.Show(compositor.Present(WindowId::Form1, scene));
    moves += scene.Form1.Left != before;
  }
  state.counters["moving"] =
      benchmark::Counter(static_cast<double>(moves), benchmark::Counter::kAvgIterations);
}

// The swelling as above, on a 1920 x 1040 desktop: a new frame of about
// 750 x 520 engine pixels on every tick.
void BM_SwellingTickAtScale(benchmark::State& state) {
  engine::Engine engine(1, {0, 0, 1920, 1040});
  engine::Scene& scene = engine.GetScene();
  Compositor compositor;
  ScaledFront front(static_cast<int>(state.range(0)));
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
    front.Show(p);
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
BENCHMARK(BM_WalkTickAtScale)->Arg(1)->Arg(2);
BENCHMARK(BM_SwellingTickAtScale)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pelmo::ui
