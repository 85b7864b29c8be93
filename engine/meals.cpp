#include "engine/engine.h"
#include "engine/picture_names.h"
#include "engine/texts.h"

namespace pelmo::engine {

namespace {

constexpr std::int32_t kMealTicks = 10;  // the meal ends on the tick after this
constexpr std::int32_t kAfterEffectDelay = 20;

BehaviourMode AfterEffect(std::int32_t food) {
  switch (static_cast<FoodKind>(food)) {
    case FoodKind::Candy:
      return BehaviourMode::Sleep;
    case FoodKind::Fishcake:
      return BehaviourMode::Spin;
    case FoodKind::Dango:
      return BehaviourMode::Split;
    case FoodKind::Beer:
      return BehaviourMode::Drunk;
    case FoodKind::None:
      break;
  }
  return BehaviourMode::Idle;
}

}  // namespace

void Engine::N_AmeClick() {
  ServeFood(FoodKind::Candy, names::kAme);
}
void Engine::N_NarutoClick() {
  ServeFood(FoodKind::Fishcake, names::kNaruto);
}
void Engine::N_DangoClick() {
  ServeFood(FoodKind::Dango, names::kDango);
}
void Engine::N_BeerClick() {
  ServeFood(FoodKind::Beer, names::kBeer);
}

void Engine::ServeFood(FoodKind kind, std::string_view picture) {
  if (state_.food != 0) {
    scene_.effects.messages.push_back({texts::kRefusalText, texts::kRefusalCaption});
    return;
  }
  state_.food = static_cast<std::int32_t>(kind);
  const Point place = random_.RandomWorkAreaPoint(scene_.workArea);
  scene_.FoodForm.Left = place.x;
  scene_.FoodForm.Top = place.y;
  scene_.FoodImg.Picture = picture;
}

void Engine::EatStep() {
  scene_.PelmoImg.Picture = EvenTick() ? names::kEat1 : names::kEat2;
  // Sit just left of and below the food's corner, wherever the user has put it.
  scene_.Form1.Top = Add32(scene_.FoodForm.Top, 5);
  scene_.Form1.Left = Add32(scene_.FoodForm.Left, -5);
  if (state_.tick > kMealTicks) {
    state_.SetMode(AfterEffect(state_.food));
    state_.tick = 0;
    scene_.FoodImg.Picture = {};
    state_.food = 0;
  }
}

void Engine::SpinStep() {
  if (state_.tick >= kAfterEffectDelay)
    scene_.PelmoImg.Picture = EvenTick() ? names::kGuru1 : names::kGuru2;
}

void Engine::DrunkStep() {
  if (state_.tick >= kAfterEffectDelay)
    scene_.PelmoImg.Picture = EvenTick() ? names::kDrunk1 : names::kDrunk2;
}

void Engine::SplitStep() {
  switch (state_.tick) {
    case 20:
      PlayCue(names::kInsert);
      scene_.PelmoImg.Picture = names::kBunretsu1;
      break;
    case 100:
      scene_.PelmoImg.Picture = names::kBunretsu2;
      break;
    case 140:
      scene_.PelmoImg.Picture = names::kBunretsu3;
      break;
    case 180:
      scene_.PelmoImg.Picture = names::kNaname;
      state_.SetMode(BehaviourMode::Idle);  // tick carries on from 180
      break;
    default:
      break;
  }
}

}  // namespace pelmo::engine
