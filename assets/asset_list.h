#pragma once

#include <array>

#include "assets/catalogue.h"

namespace pelmo::assets {

// The one list of assets: the generator makes exactly these files, the embedded table and the
// Windows resource script follow this order, and Catalogue() returns it.
inline constexpr std::array kAssetList = {
    AssetInfo{"BMP_BASIC1", AssetKind::Bitmap},    AssetInfo{"BMP_BASIC2", AssetKind::Bitmap},
    AssetInfo{"BMP_MIGI1", AssetKind::Bitmap},     AssetInfo{"BMP_MIGI2", AssetKind::Bitmap},
    AssetInfo{"BMP_UE1", AssetKind::Bitmap},       AssetInfo{"BMP_UE2", AssetKind::Bitmap},
    AssetInfo{"BMP_SHITA1", AssetKind::Bitmap},    AssetInfo{"BMP_SHITA2", AssetKind::Bitmap},
    AssetInfo{"BMP_SLEEP1", AssetKind::Bitmap},    AssetInfo{"BMP_SLEEP2", AssetKind::Bitmap},
    AssetInfo{"BMP_EAT1", AssetKind::Bitmap},      AssetInfo{"BMP_EAT2", AssetKind::Bitmap},
    AssetInfo{"BMP_GURU1", AssetKind::Bitmap},     AssetInfo{"BMP_GURU2", AssetKind::Bitmap},
    AssetInfo{"BMP_DRUNK1", AssetKind::Bitmap},    AssetInfo{"BMP_DRUNK2", AssetKind::Bitmap},
    AssetInfo{"BMP_BUNRETSU1", AssetKind::Bitmap}, AssetInfo{"BMP_BUNRETSU2", AssetKind::Bitmap},
    AssetInfo{"BMP_BUNRETSU3", AssetKind::Bitmap}, AssetInfo{"BMP_NANAME", AssetKind::Bitmap},
    AssetInfo{"BMP_NAKI", AssetKind::Bitmap},      AssetInfo{"BMP_ANGEL", AssetKind::Bitmap},
    AssetInfo{"BMP_BIG", AssetKind::Bitmap},       AssetInfo{"BMP_AME", AssetKind::Bitmap},
    AssetInfo{"BMP_NARUTO", AssetKind::Bitmap},    AssetInfo{"BMP_DANGO", AssetKind::Bitmap},
    AssetInfo{"BMP_BEER", AssetKind::Bitmap},      AssetInfo{"BMP_RAIN", AssetKind::Bitmap},
    AssetInfo{"BMP_CLOUD1", AssetKind::Bitmap},    AssetInfo{"BMP_SUN1", AssetKind::Bitmap},
    AssetInfo{"BMP_SUN2", AssetKind::Bitmap},      AssetInfo{"SND_CHIMES", AssetKind::Wave},
    AssetInfo{"SND_BAR", AssetKind::Wave},         AssetInfo{"SND_SHUTDOWN", AssetKind::Wave},
    AssetInfo{"SND_INSERT", AssetKind::Wave},      AssetInfo{"MYCURSOR", AssetKind::Cursor},
    AssetInfo{"MAINICON", AssetKind::Icon},
};

// The file name extension each kind is written with.
constexpr const char* FileExtension(AssetKind kind) {
  switch (kind) {
    case AssetKind::Bitmap:
      return ".bmp";
    case AssetKind::Wave:
      return ".wav";
    case AssetKind::Cursor:
      return ".cur";
    case AssetKind::Icon:
      return ".ico";
  }
  return "";
}

}  // namespace pelmo::assets
