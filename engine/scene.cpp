#include "engine/scene.h"

#include <algorithm>

#include "engine/picture_names.h"

namespace pelmo::engine {

namespace {

// A work area whose right or bottom lies before its left or top is treated as empty.
std::int32_t Span(std::int32_t low, std::int32_t high) {
  return static_cast<std::int32_t>(
      std::max<std::int64_t>(0, static_cast<std::int64_t>(high) - low));
}

}  // namespace

Scene InitialScene(const WorkArea& area) {
  Scene s;
  s.workArea = area;

  s.Form1 = {"Form1", area.left, area.top, Span(area.left, area.right), Span(area.top, area.bottom),
             true};
  s.PelmoImg = {0, 0, 150, 100, false, false, names::kBasic1};
  s.Edit1 = "Edit1";
  s.Edit2 = "Edit2";

  s.FoodForm = {"お食事の時間ですよ～", 233, 382, 127, 169, true};
  s.FoodImg = {0, 0, 127, 169, false, false, {}};

  s.RainForm = {"RainForm", 242, 243, 192, 516, false};
  s.RainImg = {30, -500, 120, 600, false, false, names::kRain};
  s.CloudImg = {0, 0, 300, 110, false, false, names::kCloud1};

  s.SunForm = {"SunForm", 574, 288, 300, 200, false};
  s.Img = {0, 0, 300, 200, false, true, names::kSun1};
  return s;
}

}  // namespace pelmo::engine
