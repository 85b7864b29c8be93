#include "ui/scale_setting.h"

#include <gtest/gtest.h>

namespace pelmo::ui {
namespace {

TEST(XftDpi, IsReadFromItsOwnLineOfTheResources) {
  EXPECT_EQ(XftDpi("Xft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n"), 192.0);
  EXPECT_EQ(XftDpi("Xft.dpi: 144"), 144.0);  // no newline at the end
  EXPECT_EQ(XftDpi("Xft.dpi:\t96\r\n"), 96.0);
  EXPECT_EQ(XftDpi("Xft.dpi:\t120.5\n"), 120.5);
  EXPECT_EQ(XftDpi("Xft.dpi:\t96\nXft.dpi:\t192\n"), 192.0);  // the later one wins
}

TEST(XftDpi, OtherNamesAndBadValuesAreNotTakenForIt) {
  EXPECT_EQ(XftDpi(""), std::nullopt);
  EXPECT_EQ(XftDpi("Xft.dpix:\t192\nXXft.dpi:\t192\n*dpi:\t192\n"), std::nullopt);
  EXPECT_EQ(XftDpi("Xft.dpi:\n"), std::nullopt);
  EXPECT_EQ(XftDpi("Xft.dpi:\tlarge\n"), std::nullopt);
  EXPECT_EQ(XftDpi("Xft.dpi:\t-192\n"), std::nullopt);
  EXPECT_EQ(XftDpi("Xft.dpi:\t0\n"), std::nullopt);
  EXPECT_EQ(XftDpi("Xft.dpi:\t192 dots\n"), std::nullopt);
  EXPECT_EQ(XftDpi("Xft.dpi\t192\n"), std::nullopt);
}

TEST(ScaleFromVariable, RoundsAsADpiWould) {
  EXPECT_EQ(ScaleFromVariable(nullptr), std::nullopt);
  EXPECT_EQ(ScaleFromVariable(""), std::nullopt);
  EXPECT_EQ(ScaleFromVariable("two"), std::nullopt);
  EXPECT_EQ(ScaleFromVariable("0"), std::nullopt);
  EXPECT_EQ(ScaleFromVariable("-2"), std::nullopt);
  EXPECT_EQ(ScaleFromVariable("1"), 1);
  EXPECT_EQ(ScaleFromVariable("1.25"), 1);
  EXPECT_EQ(ScaleFromVariable("1.5"), 2);
  EXPECT_EQ(ScaleFromVariable("2"), 2);
  EXPECT_EQ(ScaleFromVariable(" 3 "), 3);
}

TEST(DesktopScale, AVariableSetForTheSessionWinsOverTheDesktopsDpi) {
  EXPECT_EQ(DesktopScale(std::nullopt, std::nullopt, std::nullopt), 1);
  EXPECT_EQ(DesktopScale(std::nullopt, std::nullopt, 192.0), 2);
  EXPECT_EQ(DesktopScale(std::nullopt, std::nullopt, 120.0), 1);
  EXPECT_EQ(DesktopScale(std::nullopt, 3, 192.0), 3);
  EXPECT_EQ(DesktopScale(1, 3, 192.0), 1);
  EXPECT_EQ(DesktopScale(2, std::nullopt, 96.0), 2);
}

}  // namespace
}  // namespace pelmo::ui
