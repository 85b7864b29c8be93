#include "ui/qt/footprint.h"

#include <malloc.h>
#include <sys/mman.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include <QApplication>
#include <QFontDatabase>

namespace pelmo::ui::qt {

void ShareOneHeap() {
  mallopt(M_ARENA_MAX, 1);
}

namespace {

bool IsFontFile(const std::string& path) {
  for (const char* end : {".ttf", ".otf", ".ttc", ".pfb"})
    if (path.ends_with(end)) return true;
  return false;
}

// The font files are mapped, read-only, by FreeType. A few dozen glyphs drawn
// in a face of thousands leave megabytes of it resident, for the kernel maps
// the neighbours of every page read in as well. The pages are only dropped from
// this process: the next glyph drawn reads its page again from the page cache.
void DropFontPages() {
  std::ifstream maps("/proc/self/maps");
  std::string line;
  while (std::getline(maps, line)) {
    std::istringstream fields(line);
    std::string range, perms, offset, device, inode, path;
    fields >> range >> perms >> offset >> device >> inode >> path;
    if (perms.size() < 2 || perms[1] != '-' || !IsFontFile(path)) continue;
    const std::size_t dash = range.find('-');
    const std::uintptr_t begin = std::stoull(range.substr(0, dash), nullptr, 16);
    const std::uintptr_t end = std::stoull(range.substr(dash + 1), nullptr, 16);
    madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED);
  }
}

}  // namespace

void ReturnFreedMemory() {
  malloc_trim(0);
  DropFontPages();
}

// The face the program's packages install, else any with Japanese.
QFont JapaneseFace() {
  QFont font = QApplication::font();
  const QStringList faces = QFontDatabase::families(QFontDatabase::Japanese);
  if (faces.isEmpty()) return font;
  const QString preferred = QStringLiteral("IPAGothic");
  font.setFamilies({faces.contains(preferred) ? preferred : faces.first()});
  return font;
}

}  // namespace pelmo::ui::qt
