#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace pelmo::ui::qt {

// SIGTERM, SIGINT and SIGHUP, which a session manager, a terminal's Ctrl+C and
// a closed terminal send, end the program by its own path instead of killing
// it. The handler only writes a byte to a pipe; the event loop reads it and
// calls `end` there, where Qt may be used. One object at a time.
class SessionSignals : public QObject {
 public:
  explicit SessionSignals(std::function<void()> end);
  ~SessionSignals() override;
  SessionSignals(const SessionSignals&) = delete;
  SessionSignals& operator=(const SessionSignals&) = delete;

 private:
  void OnReadable();

  std::function<void()> end_;
  int pipe_[2] = {-1, -1};
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace pelmo::ui::qt
