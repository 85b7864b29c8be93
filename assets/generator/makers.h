#pragma once

#include "assets/generator/asset_set.h"
#include "assets/generator/fit.h"

namespace pelmo::assets::gen {

// The lying, left-facing pose; the giant frame repeats it. `plump` (0 for the everyday frame)
// swells the narrow end by that many pixels.
Art LyingArt(double plump);

void MakeFacingFrames(AssetSet& set);  // BASIC, MIGI, UE, SHITA
void MakeMoodFrames(AssetSet& set);    // SLEEP, EAT, GURU, DRUNK
void MakeSplitFrames(AssetSet& set);   // BUNRETSU, NANAME, NAKI
void MakeAngel(AssetSet& set);
void MakeBig(AssetSet& set);
void MakeFoods(AssetSet& set);
void MakeWeather(AssetSet& set);
void MakePointers(AssetSet& set);  // cursor and icon
void MakeSounds(AssetSet& set);

}  // namespace pelmo::assets::gen
