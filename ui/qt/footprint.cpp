#include "ui/qt/footprint.h"

#include <malloc.h>

#include <QApplication>
#include <QFontDatabase>

namespace pelmo::ui::qt {

void ShareOneHeap() {
  mallopt(M_ARENA_MAX, 1);
}

void ReturnFreedMemory() {
  malloc_trim(0);
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
