#pragma once

#include <QMessageBox>
#include <QString>
#include <memory>

namespace pelmo::ui::qt {

// The box the program tells its user things in, made once and shown again for
// every message. A box made afresh each time gets its button's icon made
// afresh, and Qt's pixmap cache keeps a copy of each under that icon's own key,
// which no later box looks up: a kilobyte or two for every box. Emptying the
// cache does not help: it keeps the keys.
class MessageBox {
 public:
  // Returns once the user has answered.
  void Show(const QString& caption, const QString& text);

 private:
  std::unique_ptr<QMessageBox> box_;
};

}  // namespace pelmo::ui::qt
