#pragma once

#include <cstdint>

namespace pelmo::ui {

// When to run the mascot's timer ticks, for a front-end that need not wake up
// for the ticks that change nothing the user sees or hears (Forms tells which).
// Every tick keeps its place on the clock, one interval after the last; a quiet
// tick runs late instead, together with the tick after it, or just before the
// next input, so that ticks and inputs still meet the engine in their order.
// Times are milliseconds on one steady clock.
class TickSchedule {
 public:
  explicit TickSchedule(std::int64_t interval) : interval_(interval) {}

  // The first tick is one interval from `now`.
  void Start(std::int64_t now);
  void Stop();
  bool Active() const { return active_; }

  // The timer fired: take the ticks whose time has come, one call per tick,
  // the planned quiet ones and the one after them.
  void BeginTimer();
  bool TakeOnTimer(std::int64_t now);
  // An input arrived: take the quiet ticks whose time has come, one call per tick.
  bool TakeBeforeInput(std::int64_t now);

  // After ticks or an input ran: `quietAhead` of the coming ticks are quiet.
  // Returns how long the timer may sleep. A program that fell more than an
  // interval behind (a suspended machine, a stalled desktop) starts afresh
  // from now, as a periodic timer would, rather than replay what it missed.
  std::int64_t Plan(int quietAhead, std::int64_t now);

 private:
  std::int64_t interval_;
  bool active_ = false;
  std::int64_t due_ = 0;  // when the next tick not yet run is due
  int quiet_ = 0;         // how many ticks from there on are quiet
  int burst_ = 0;         // ticks the current firing of the timer may still take
};

}  // namespace pelmo::ui
