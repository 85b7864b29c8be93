#include "ui/scale_setting.h"

#include <charconv>
#include <cmath>
#include <string>

#include "ui/display_scale.h"

namespace pelmo::ui {

namespace {

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

std::optional<double> PositiveNumber(std::string_view text) {
  text = Trim(text);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !(value > 0) ||
      !std::isfinite(value))
    return std::nullopt;
  return value;
}

}  // namespace

// A later line for the same name wins, as in the X resource database.
std::optional<double> XftDpi(std::string_view resources) {
  std::optional<double> dpi;
  while (!resources.empty()) {
    const auto end = resources.find('\n');
    const std::string_view line = resources.substr(0, end);
    resources = end == std::string_view::npos ? std::string_view() : resources.substr(end + 1);
    const auto colon = line.find(':');
    if (colon == std::string_view::npos || Trim(line.substr(0, colon)) != "Xft.dpi") continue;
    dpi = PositiveNumber(line.substr(colon + 1));
  }
  return dpi;
}

std::optional<int> ScaleFromVariable(const char* value) {
  if (value == nullptr) return std::nullopt;
  const std::optional<double> scale = PositiveNumber(value);
  if (!scale) return std::nullopt;
  return ScaleForDpi(*scale * 96.0);
}

int DesktopScale(std::optional<int> qtScaleFactor, std::optional<int> gdkScale,
                 std::optional<double> xftDpi) {
  if (qtScaleFactor) return *qtScaleFactor;
  if (gdkScale) return *gdkScale;
  if (xftDpi) return ScaleForDpi(*xftDpi);
  return 1;
}

}  // namespace pelmo::ui
