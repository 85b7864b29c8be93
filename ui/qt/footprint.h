#pragma once

#include <QFont>

namespace pelmo::ui::qt {

// The program runs for as long as the desktop does, beside everything else the
// user runs; these keep what it holds close to what it shows.

// One heap for all threads: the sound and X11 threads allocate little, and an
// arena each would keep its own pages.
void ShareOneHeap();

// Qt's style keeps what it drew for a menu in a pixmap cache of up to 10 MB,
// and it draws an open menu under keys that are new each time it opens: left
// at that bound, the cache grows a few hundred bytes a menu up to 10 MB. A menu
// draws from a handful of pixmaps of a few hundred bytes each, which a far
// smaller bound still holds.
void BoundPixmapCache();

// Gives back to the system the heap pages that a menu or a message box used
// and freed, which the allocator keeps otherwise, and the pages of libraries
// and font files that the start, or drawing the menu, brought in and that the
// ticks do not read.
void ReturnFreedMemory();

// The menus and message boxes are Japanese text only. Drawn in a face that has
// it, Qt loads that one face; drawn in the desktop's default face, it loads that
// one as well and looks through every installed font for the fallback.
QFont JapaneseFace();

}  // namespace pelmo::ui::qt
