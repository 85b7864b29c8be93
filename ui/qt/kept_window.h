#pragma once

#include <QWidget>

namespace pelmo::ui::qt {

// Qt gives a top-level widget's native window back to the display server each
// time the widget closes, and makes a new one at its next showing. A menu closes
// after every choice and a message box after every answer, and each new window
// leaves a hundred bytes or more behind in Qt that it never frees. Kept, the
// widget's window is hidden when it closes and shown again next time.
void KeepNativeWindow(QWidget& widget);

}  // namespace pelmo::ui::qt
