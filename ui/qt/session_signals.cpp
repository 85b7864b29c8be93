#include "ui/qt/session_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <stdexcept>

namespace pelmo::ui::qt {

namespace {

constexpr std::array kSignals = {SIGTERM, SIGINT, SIGHUP};
volatile sig_atomic_t writeEnd = -1;

// Only async-signal-safe calls; a full pipe already holds a byte to wake the loop.
void OnSignal(int) {
  const int saved = errno;
  const char byte = 1;
  if (writeEnd >= 0) {
    const ssize_t written = write(writeEnd, &byte, 1);
    static_cast<void>(written);
  }
  errno = saved;
}

void SetAction(void (*handler)(int)) {
  struct sigaction action = {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : kSignals) sigaction(signal, &action, nullptr);
}

}  // namespace

SessionSignals::SessionSignals(std::function<void()> end) : end_(std::move(end)) {
  if (pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0)
    throw std::runtime_error("Pelmo cannot watch for the session's end (no pipe).");
  writeEnd = pipe_[1];
  notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { OnReadable(); });
  SetAction(&OnSignal);
}

// Back to the default action: a signal from here on ends the program at once.
SessionSignals::~SessionSignals() {
  SetAction(SIG_DFL);
  writeEnd = -1;
  notifier_.reset();
  close(pipe_[0]);
  close(pipe_[1]);
}

void SessionSignals::OnReadable() {
  char bytes[16];
  while (read(pipe_[0], bytes, sizeof bytes) > 0) {
  }
  end_();
}

}  // namespace pelmo::ui::qt
