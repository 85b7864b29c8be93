#pragma once

#include <gtest/gtest.h>

#include <QApplication>

namespace pelmo::ui::qt {

// Each test draws with a Qt of its own, off screen unless told otherwise.
class OffScreenApplication : public testing::Test {
 private:
  static bool OffScreen() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
  }
  bool offScreen_ = OffScreen();  // before the application reads it
  int argc_ = 1;
  char name_[9] = "qt_tests";
  char* argv_[2] = {name_, nullptr};
  QApplication app_{argc_, argv_};
};

}  // namespace pelmo::ui::qt
