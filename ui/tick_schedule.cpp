#include "ui/tick_schedule.h"

#include <algorithm>

namespace pelmo::ui {

void TickSchedule::Start(std::int64_t now) {
  active_ = true;
  due_ = now + interval_;
  quiet_ = 0;
  burst_ = 0;
}

void TickSchedule::Stop() {
  active_ = false;
  quiet_ = 0;
  burst_ = 0;
}

void TickSchedule::BeginTimer() {
  burst_ = quiet_ + 1;
}

// Timers may fire a little early (Qt's coarse ones by up to 5 %); a tick that
// is that close is taken rather than woken for again.
bool TickSchedule::TakeOnTimer(std::int64_t now) {
  if (!active_ || burst_ == 0 || now + interval_ / 20 < due_) return false;
  --burst_;
  quiet_ = std::max(0, quiet_ - 1);
  due_ += interval_;
  return true;
}

bool TickSchedule::TakeBeforeInput(std::int64_t now) {
  if (!active_ || quiet_ == 0 || now < due_) return false;
  --quiet_;
  due_ += interval_;
  return true;
}

std::int64_t TickSchedule::Plan(int quietAhead, std::int64_t now) {
  if (!active_) return 0;
  if (now - due_ > interval_) due_ = now + interval_;
  quiet_ = std::max(0, quietAhead);
  return std::max<std::int64_t>(0, due_ + quiet_ * interval_ - now);
}

}  // namespace pelmo::ui
