#pragma once

#include <string_view>

namespace pelmo::engine::texts {

// The program's own words, UTF-8 encoded.
inline constexpr std::string_view kRefusalText = "ご飯はひとつづつしか置けません．";
inline constexpr std::string_view kRefusalCaption = "飼い主の方へ";
inline constexpr std::string_view kHomePage = "https://pelmo.example.org/pelmo/";

}  // namespace pelmo::engine::texts
