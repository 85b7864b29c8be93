#include <string>

#include "engine/engine.h"
#include "engine/picture_names.h"

namespace pelmo::engine {

namespace {

constexpr std::int32_t kRainMinTop = 400;  // the cloud needs this much room above the mascot

}  // namespace

void Engine::RainButtonClick() {
  SpriteWindow& form = scene_.Form1;
  if (form.Top <= kRainMinTop) return;
  scene_.RainForm.Top = Add32(form.Top, -400);
  scene_.RainForm.Left = Add32(form.Left, -20);
  scene_.RainForm.Visible = true;
  state_.SetMode(BehaviourMode::RainEpisode);
  state_.tick = 0;
}

// The rain falls for 149 ticks and the mascot swells from tick 41, the cloud
// goes at 150, the mascot shrinks from 180 and is itself again at 230.
void Engine::RainStep() {
  const std::int32_t t = state_.tick;
  SpriteWindow& form = scene_.Form1;
  ImageControl& img = scene_.PelmoImg;
  if (t <= 149) {
    scene_.RainImg.Top = Add32(scene_.RainImg.Top, 9);
    if (t > 40) {
      img.Stretch = true;
      img.Picture = names::kBig;
      form.Top = Add32(form.Top, -3);
      form.Left = Add32(form.Left, -5);
      img.Height = Add32(img.Height, 7);
      img.Width = Add32(img.Width, 10);
    }
  } else if (t <= 179) {
    scene_.RainForm.Visible = false;
  } else if (t <= 229) {
    form.Top = Add32(form.Top, 6);
    form.Left = Add32(form.Left, 10);
    img.Height = Add32(img.Height, -14);
    img.Width = Add32(img.Width, -20);
  } else {
    scene_.RainImg.Top = -500;
    state_.SetMode(BehaviourMode::Idle);
    img.Stretch = false;
    img.Height = 100;
    img.Width = 150;
    img.Picture = names::kNaname;
  }
}

void Engine::SunButtonClick() {
  const WorkArea& area = scene_.workArea;
  SpriteWindow& sun = scene_.SunForm;
  sun.Left = Add32(random_.NextRandom() % 100, Add32(area.right, -400));
  sun.Top = Add32(random_.NextRandom() % 100, area.top);
  scene_.Edit1 = std::to_string(sun.Left);
  scene_.Edit2 = std::to_string(sun.Top);
  sun.Visible = true;
  state_.SetMode(BehaviourMode::SunEpisode);
  state_.tick = 0;
}

// Two seconds of sunshine, then the mascot shrinks to a speck and, left alone
// until tick 70, departs.
void Engine::SunStep() {
  scene_.Img.Picture = EvenTick() ? names::kSun1 : names::kSun2;
  if (state_.tick >= 70) {
    EndClick();
    return;
  }
  if (state_.tick >= 21) {
    SpriteWindow& form = scene_.Form1;
    ImageControl& img = scene_.PelmoImg;
    form.Top = Add32(form.Top, 1);
    form.Left = Add32(form.Left, 1);
    img.Height = Add32(img.Height, -2);
    img.Width = Add32(img.Width, -3);
    img.Stretch = true;
  }
}

}  // namespace pelmo::engine
