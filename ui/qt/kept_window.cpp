#include "ui/qt/kept_window.h"

#include <QEvent>
#include <QWindow>

namespace pelmo::ui::qt {

namespace {

// Lives as the widget's child. The native window exists from the widget's
// first showing on; its close request (a chosen item, an answer, the window
// manager's close button) becomes a hide, which ends a menu's or a dialog's
// loop just as the close would have.
class NativeWindowKeeper : public QObject {
 public:
  explicit NativeWindowKeeper(QWidget& widget) : QObject(&widget), widget_(widget) {
    widget.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &widget_) {
      // Installing a filter twice leaves one, so each showing may install it.
      if (event->type() == QEvent::Show && widget_.windowHandle() != nullptr)
        widget_.windowHandle()->installEventFilter(this);
      return false;
    }
    if (event->type() != QEvent::Close) return false;
    widget_.hide();
    return true;
  }

 private:
  QWidget& widget_;
};

}  // namespace

void KeepNativeWindow(QWidget& widget) {
  new NativeWindowKeeper(widget);  // owned by the widget
}

}  // namespace pelmo::ui::qt
