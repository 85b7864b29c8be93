// Stands in for the desktop under a Wayland compositor: a native Wayland
// window of one colour, filling the desktop, that appends every button press it
// receives to a log as "x y button". A click that passes through the mascot
// must arrive here.
//
//   pelmo-e2e-backdrop LOG RRGGBB     (with QT_QPA_PLATFORM=wayland)
#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <cstdio>

namespace {

class Backdrop : public QWidget {
 public:
  Backdrop(QString log, QColor colour) : log_(std::move(log)), colour_(colour) {}

 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), colour_); }

  void mousePressEvent(QMouseEvent* event) override {
    QFile file(log_);
    if (!file.open(QIODevice::Append | QIODevice::Text)) return;
    const QPoint at = event->globalPosition().toPoint();
    file.write(QString("%1 %2 %3\n").arg(at.x()).arg(at.y()).arg(event->button()).toUtf8());
  }

 private:
  QString log_;
  QColor colour_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fputs("usage: pelmo-e2e-backdrop LOG RRGGBB\n", stderr);
    return 2;
  }
  Backdrop backdrop(QString::fromLocal8Bit(argv[1]), QColor("#" + QString(argv[2])));
  backdrop.setWindowTitle("backdrop");
  backdrop.showMaximized();
  return QApplication::exec();
}
