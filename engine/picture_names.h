#pragma once

#include <array>
#include <string_view>

namespace pelmo::engine::names {

// Every asset name the program asks for, as the exact resource names.
inline constexpr std::string_view kBasic1 = "BMP_BASIC1";
inline constexpr std::string_view kBasic2 = "BMP_BASIC2";
inline constexpr std::string_view kMigi1 = "BMP_MIGI1";
inline constexpr std::string_view kMigi2 = "BMP_MIGI2";
inline constexpr std::string_view kUe1 = "BMP_UE1";
inline constexpr std::string_view kUe2 = "BMP_UE2";
inline constexpr std::string_view kShita1 = "BMP_SHITA1";
inline constexpr std::string_view kShita2 = "BMP_SHITA2";
inline constexpr std::string_view kSleep1 = "BMP_SLEEP1";
inline constexpr std::string_view kSleep2 = "BMP_SLEEP2";
inline constexpr std::string_view kEat1 = "BMP_EAT1";
inline constexpr std::string_view kEat2 = "BMP_EAT2";
inline constexpr std::string_view kGuru1 = "BMP_GURU1";
inline constexpr std::string_view kGuru2 = "BMP_GURU2";
inline constexpr std::string_view kDrunk1 = "BMP_DRUNK1";
inline constexpr std::string_view kDrunk2 = "BMP_DRUNK2";
inline constexpr std::string_view kBunretsu1 = "BMP_BUNRETSU1";
inline constexpr std::string_view kBunretsu2 = "BMP_BUNRETSU2";
inline constexpr std::string_view kBunretsu3 = "BMP_BUNRETSU3";
inline constexpr std::string_view kNaname = "BMP_NANAME";
inline constexpr std::string_view kNaki = "BMP_NAKI";
inline constexpr std::string_view kAngel = "BMP_ANGEL";
inline constexpr std::string_view kBig = "BMP_BIG";
inline constexpr std::string_view kAme = "BMP_AME";
inline constexpr std::string_view kNaruto = "BMP_NARUTO";
inline constexpr std::string_view kDango = "BMP_DANGO";
inline constexpr std::string_view kBeer = "BMP_BEER";
inline constexpr std::string_view kRain = "BMP_RAIN";
inline constexpr std::string_view kCloud1 = "BMP_CLOUD1";
inline constexpr std::string_view kSun1 = "BMP_SUN1";
inline constexpr std::string_view kSun2 = "BMP_SUN2";

inline constexpr std::string_view kChimes = "SND_CHIMES";
inline constexpr std::string_view kBar = "SND_BAR";
inline constexpr std::string_view kShutdown = "SND_SHUTDOWN";
inline constexpr std::string_view kInsert = "SND_INSERT";

inline constexpr std::string_view kCursor = "MYCURSOR";
inline constexpr std::string_view kIcon = "MAINICON";

inline constexpr std::array kPictures = {
    kBasic1,    kBasic2,    kMigi1,     kMigi2,  kUe1,    kUe2,   kShita1, kShita2,
    kSleep1,    kSleep2,    kEat1,      kEat2,   kGuru1,  kGuru2, kDrunk1, kDrunk2,
    kBunretsu1, kBunretsu2, kBunretsu3, kNaname, kNaki,   kAngel, kBig,    kAme,
    kNaruto,    kDango,     kBeer,      kRain,   kCloud1, kSun1,  kSun2};

inline constexpr std::array kSounds = {kChimes, kBar, kShutdown, kInsert};

}  // namespace pelmo::engine::names
