#include "ui/qt/footprint.h"

#include <malloc.h>
#include <sys/mman.h>

#include <fstream>

#include <QApplication>
#include <QFontDatabase>
#include <QPixmapCache>

#include "ui/qt/resident_pages.h"

namespace pelmo::ui::qt {

void ShareOneHeap() {
  mallopt(M_ARENA_MAX, 1);
}

void BoundPixmapCache() {
  QPixmapCache::setCacheLimit(256);  // in kilobytes
}

namespace {

// Code that ran once (the start, a menu's first showing) and the glyphs read
// from a font file stay resident for as long as nothing else needs the memory,
// for the kernel maps the neighbours of every page read in as well. Those pages
// are only copies of files: dropped from this process, the ones still in use
// come back from the page cache at their next read, and the rest stay out.
void DropFileCopies() {
  std::ifstream smaps("/proc/self/smaps");
  for (const AddressRange& range : FileCopyMappings(smaps))
    madvise(reinterpret_cast<void*>(range.begin), range.end - range.begin, MADV_DONTNEED);
}

}  // namespace

void ReturnFreedMemory() {
  malloc_trim(0);
  DropFileCopies();
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
