#include "ui/tick_schedule.h"

#include <gtest/gtest.h>

namespace pelmo::ui {
namespace {

// How many ticks the timer's firing at `now` runs.
int Fire(TickSchedule& schedule, std::int64_t now) {
  schedule.BeginTimer();
  int ticks = 0;
  while (schedule.TakeOnTimer(now)) ++ticks;
  return ticks;
}

int BeforeInput(TickSchedule& schedule, std::int64_t now) {
  int ticks = 0;
  while (schedule.TakeBeforeInput(now)) ++ticks;
  return ticks;
}

TEST(TickSchedule, WithoutQuietTicksItIsAPeriodicTimer) {
  TickSchedule schedule(100);
  schedule.Start(0);
  EXPECT_EQ(schedule.Plan(0, 0), 100);
  EXPECT_EQ(Fire(schedule, 90), 0) << "a timer that fires early runs nothing";
  EXPECT_EQ(Fire(schedule, 96), 1) << "but one that is only a little early does";
  EXPECT_EQ(schedule.Plan(0, 96), 104);
  EXPECT_EQ(Fire(schedule, 100), 0) << "and its tick is not run twice";
  EXPECT_EQ(Fire(schedule, 203), 1);
  EXPECT_EQ(schedule.Plan(0, 203), 97) << "ticks keep their places on the clock";
  EXPECT_EQ(BeforeInput(schedule, 250), 0) << "an input runs no tick that was not skipped";
}

TEST(TickSchedule, QuietTicksRunWithTheTickAfterThem) {
  TickSchedule schedule(100);
  schedule.Start(0);
  EXPECT_EQ(schedule.Plan(3, 0), 400) << "ticks at 100, 200 and 300 are quiet; 400 is not";
  EXPECT_EQ(Fire(schedule, 400), 4);
  EXPECT_EQ(schedule.Plan(0, 400), 100);
  EXPECT_EQ(Fire(schedule, 500), 1);
}

TEST(TickSchedule, AnInputFirstRunsTheQuietTicksWhoseTimeHasCome) {
  TickSchedule schedule(100);
  schedule.Start(0);
  schedule.Plan(5, 0);
  EXPECT_EQ(BeforeInput(schedule, 50), 0);
  EXPECT_EQ(BeforeInput(schedule, 250), 2) << "the ticks of 100 and 200, not of 300";
  // The input changed things: now only the tick of 300 is quiet.
  EXPECT_EQ(schedule.Plan(1, 250), 150);
  EXPECT_EQ(Fire(schedule, 400), 2);
}

TEST(TickSchedule, AFiringRunsNoMoreThanWasPlanned) {
  TickSchedule schedule(100);
  schedule.Start(0);
  schedule.Plan(1, 0);
  // The machine was suspended: the firing comes seconds late.
  EXPECT_EQ(Fire(schedule, 5000), 2) << "the planned ticks, not every missed one";
  EXPECT_EQ(schedule.Plan(0, 5000), 100) << "and the clock starts afresh";
}

TEST(TickSchedule, AStoppedScheduleRunsNothing) {
  TickSchedule schedule(100);
  schedule.Start(0);
  schedule.Plan(2, 0);
  schedule.Stop();
  EXPECT_FALSE(schedule.Active());
  EXPECT_EQ(Fire(schedule, 1000), 0);
  EXPECT_EQ(BeforeInput(schedule, 1000), 0);
  schedule.Start(1000);
  EXPECT_EQ(schedule.Plan(0, 1000), 100) << "a restart counts from the restart";
}

}  // namespace
}  // namespace pelmo::ui
