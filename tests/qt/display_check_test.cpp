#include "ui/qt/display_check.h"

#include <gtest/gtest.h>

namespace pelmo::ui::qt {
namespace {

// Each answer names what is wrong and what to do, and none is left to Qt,
// which aborts.
TEST(DisplayProblem, SaysWhyNoDisplayCanBeOpened) {
  EXPECT_EQ(DisplayProblem(nullptr),
            "pelmo: no X display ($DISPLAY is not set); start it on a desktop, or under xvfb-run.");
  EXPECT_EQ(DisplayProblem(""), DisplayProblem(nullptr));

  // No server listens on a display of that number on this machine.
  const auto silent = DisplayProblem(":64999");
  ASSERT_TRUE(silent.has_value());
  EXPECT_EQ(*silent,
            "pelmo: cannot open the X display :64999 (no X server answers there, or it refused the "
            "connection); start it on a desktop, or under xvfb-run.");

  const auto garbled = DisplayProblem("no display here");
  ASSERT_TRUE(garbled.has_value());
  EXPECT_NE(garbled->find("(that is not the name of a display)"), std::string::npos) << *garbled;
}

}  // namespace
}  // namespace pelmo::ui::qt
