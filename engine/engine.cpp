#include "engine/engine.h"

#include <string>

namespace pelmo::engine {

Engine::Engine(std::uint32_t seed, const WorkArea& area)
    : random_(seed), scene_(InitialScene(area)) {}

void Engine::FireTimer1() {
  if (scene_.Timer1Enabled && !scene_.Form1Closed) Timer1Timer();
}

void Engine::Timer1Timer() {
  // The pointer was read into the Scene by the caller; only the drag uses it.
  state_.tick = Add32(state_.tick, 1);
  if (state_.Mode() == BehaviourMode::Depart) DepartureStep();
  if (state_.dragging == 1) {
    DragFollowStep();
  } else {
    RunModeStep();
    ClosingStep();
  }
  scene_.Edit2 = std::to_string(state_.mode);
}

void Engine::RunModeStep() {
  switch (state_.Mode()) {
    case BehaviourMode::Sleep:
      return SleepStep();
    case BehaviourMode::Idle:
      return IdleStep();
    case BehaviourMode::Walk:
      return WalkStep();
    case BehaviourMode::Eat:
      return EatStep();
    case BehaviourMode::Drunk:
      return DrunkStep();
    case BehaviourMode::Spin:
      return SpinStep();
    case BehaviourMode::Split:
      return SplitStep();
    case BehaviourMode::RainEpisode:
      return RainStep();
    case BehaviourMode::SunEpisode:
      return SunStep();
    case BehaviourMode::Depart:
      return;  // its step already ran at the head of the tick
  }
}

// Keeps the weather windows hidden outside their episodes and undoes any growing
// or shrinking of the mascot as soon as the mode drops below the episodes.
void Engine::ClosingStep() {
  const std::int32_t mode = state_.mode;
  if (mode != static_cast<std::int32_t>(BehaviourMode::RainEpisode)) {
    scene_.RainForm.Visible = false;
    scene_.RainImg.Top = -500;
  }
  if (mode != static_cast<std::int32_t>(BehaviourMode::SunEpisode)) scene_.SunForm.Visible = false;
  if (mode < static_cast<std::int32_t>(BehaviourMode::RainEpisode)) {
    scene_.PelmoImg.Width = 150;
    scene_.PelmoImg.Height = 100;
    scene_.PelmoImg.Top = 0;
    scene_.PelmoImg.Left = 0;
  }
}

void Engine::PlayCue(std::string_view name) {
  scene_.effects.cues.push_back({CueEvent::Kind::Play, name});
}

void Engine::StopCue() {
  scene_.effects.cues.push_back({CueEvent::Kind::Stop, {}});
}

}  // namespace pelmo::engine
