#include "engine/engine.h"
#include "engine/picture_names.h"

namespace pelmo::engine {

namespace {

constexpr std::int64_t kFoodReach = 1000;  // a food is noticed below this distance
constexpr std::int32_t kWanderBound = 20;  // decision draws below these act
constexpr std::int32_t kSleepBound = 5;
constexpr std::int32_t kRainBound = 4;
constexpr std::int32_t kSunBound = 4;
constexpr std::int64_t kArrived = 20;     // a walk ends at this distance or less
constexpr std::int64_t kBesideFood = 21;  // and the meal starts below this one

std::int64_t Manhattan(const SpriteWindow& a, const SpriteWindow& b) {
  return Distance1D(a.Left, b.Left) + Distance1D(a.Top, b.Top);
}

}  // namespace

void Engine::IdleStep() {
  if (state_.food != 0) {
    // No draw is made while a food lies out, reachable or not.
    if (Manhattan(scene_.FoodForm, scene_.Form1) < kFoodReach) {
      state_.targetX = scene_.FoodForm.Left;
      state_.targetY = scene_.FoodForm.Top;
      state_.SetMode(BehaviourMode::Walk);
    }
    return;
  }
  // Each stage draws afresh; the first whose test holds acts and ends the decision.
  if (random_.NextRandom() % 1000 < kWanderBound) {
    state_.SetMode(BehaviourMode::Walk);
    const Point target = random_.RandomWorkAreaPoint(scene_.workArea);
    state_.targetX = target.x;
    state_.targetY = target.y;
  } else if (random_.NextRandom() % 1000 < kSleepBound) {
    state_.SetMode(BehaviourMode::Sleep);
  } else if (random_.NextRandom() % 1000 < kRainBound) {
    RainButtonClick();
  } else if (random_.NextRandom() % 1000 < kSunBound) {
    SunButtonClick();
  }
}

void Engine::WalkStep() {
  const std::int64_t s =
      Distance1D(scene_.Form1.Left, state_.targetX) + Distance1D(scene_.Form1.Top, state_.targetY);
  if (s > kArrived) {
    SteerToward(state_.targetX, state_.targetY);
    return;
  }
  // Arrived: the food is judged where its window is now, not where the walk aimed.
  if (state_.food != 0 && Manhattan(scene_.Form1, scene_.FoodForm) < kBesideFood) {
    state_.SetMode(BehaviourMode::Eat);
    state_.tick = 0;
  } else {
    state_.SetMode(BehaviourMode::Idle);
  }
}

void Engine::SleepStep() {
  scene_.PelmoImg.Picture = EvenTick() ? names::kSleep1 : names::kSleep2;
}

}  // namespace pelmo::engine
