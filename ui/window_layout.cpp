#include "ui/window_layout.h"

namespace pelmo::ui {

WindowView ViewOf(WindowId id, const engine::Scene& scene) {
  switch (id) {
    case WindowId::Form1:
      return {&scene.Form1, "Form1", {{{&scene.PelmoImg, "PelmoImg", false}}}, 1};
    case WindowId::FoodForm:
      return {&scene.FoodForm, "FoodForm", {{{&scene.FoodImg, "FoodImg", true}}}, 1};
    case WindowId::RainForm:
      return {&scene.RainForm,
              "RainForm",
              {{{&scene.RainImg, "RainImg", false}, {&scene.CloudImg, "CloudImg", false}}},
              2};
    case WindowId::SunForm:
      return {&scene.SunForm, "SunForm", {{{&scene.Img, "Img", true}}}, 1};
  }
  return {};
}

}  // namespace pelmo::ui
