#pragma once

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

namespace pelmo::ui::qt {

// Where no tray host runs, this small window stands in for the tray icon, so a
// mascot that was put away can always be brought back.
class StatusWindow : public QWidget {
 public:
  StatusWindow(const QIcon& icon, std::function<void(std::int32_t)> notify);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QRect IconRect() const;
  void PlaceInCorner();

  QIcon icon_;
  std::function<void(std::int32_t)> notify_;
};

// The program's one notification-area icon, tip "Pelmo". It reports the mouse
// on the icon as the tray notification numbers the engine knows: a left
// double-click (515) and a right-button release (517).
class TrayIcon : public QObject {
 public:
  TrayIcon(const QIcon& icon, std::function<void(std::int32_t)> notify);
  ~TrayIcon() override;

  bool UsesStatusWindow() const { return fallback_ != nullptr; }
  void Remove();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Embedded() const;
  void OnActivated(QSystemTrayIcon::ActivationReason reason);
  void Notify(std::int32_t code);

  std::function<void(std::int32_t)> notify_;
  std::unique_ptr<QSystemTrayIcon> icon_;
  std::unique_ptr<StatusWindow> fallback_;
  bool rightPressOnIcon_ = false;
};

}  // namespace pelmo::ui::qt
