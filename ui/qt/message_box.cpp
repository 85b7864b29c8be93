#include "ui/qt/message_box.h"

#include "ui/qt/kept_window.h"

namespace pelmo::ui::qt {

void MessageBox::Show(const QString& caption, const QString& text) {
  if (box_ != nullptr && box_->isVisible()) {
    // Asked again while it is up, from a tick inside its loop: a box of its
    // own, for the kept one cannot be shown twice at once.
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok);
    box.exec();
    return;
  }
  if (box_ == nullptr) {
    box_ = std::make_unique<QMessageBox>(QMessageBox::NoIcon, caption, text, QMessageBox::Ok);
    KeepNativeWindow(*box_);
  } else {
    box_->setWindowTitle(caption);
    box_->setText(text);
  }
  box_->exec();
}

}  // namespace pelmo::ui::qt
