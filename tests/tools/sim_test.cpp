#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tools/scenario.h"

namespace pelmo::tools {
namespace {

struct Result {
  int status;
  std::vector<std::string> lines;
  std::string err;
};

Result Simulate(const std::string& scenario) {
  std::istringstream in(scenario);
  std::ostringstream out, err;
  Simulator simulator;
  const int status = simulator.Run(in, out, err);
  Result r{status, {}, err.str()};
  std::istringstream lines(out.str());
  for (std::string line; std::getline(lines, line);) r.lines.push_back(line);
  return r;
}

bool Has(const std::string& line, const std::string& fragment) {
  return line.find(fragment) != std::string::npos;
}

TEST(Simulator, PrintsOneCompleteLinePerStep) {
  const Result r = Simulate("seed 1\ntick 300\n");
  EXPECT_EQ(r.status, 0);
  ASSERT_EQ(r.lines.size(), 300u);
  for (const char* key : {"\"tick\":1,",
                          "\"mode\":",
                          "\"food\":",
                          "\"targetX\":",
                          "\"targetY\":",
                          "\"dragging\":",
                          "\"form1\":[0,0,1920,1040]",
                          "\"form1Visible\":true",
                          "\"timer\":true",
                          "\"img\":[0,0,150,100]",
                          "\"stretch\":false",
                          "\"picture\":\"BMP_",
                          "\"foodForm\":[233,382]",
                          "\"foodPicture\":null",
                          "\"rainForm\":[242,243]",
                          "\"rainVisible\":false",
                          "\"rainImgTop\":-500",
                          "\"sunForm\":[574,288]",
                          "\"sunVisible\":false",
                          "\"sunPicture\":\"BMP_SUN1\"",
                          "\"edit1\":\"Edit1\"",
                          "\"edit2\":\"0\"",
                          "\"cues\":[]",
                          "\"closed\":false"})
    EXPECT_TRUE(Has(r.lines[0], key)) << key << " in " << r.lines[0];
  EXPECT_TRUE(Has(r.lines[299], "\"tick\":")) << r.lines[299];
}

TEST(Simulator, SetUpCommandsApplyBeforeTheStart) {
  const Result r = Simulate(
      "workarea 10 20 810 620\npointer 5 5\nmascot 300 200\nfood 40 50\n"
      "press right\n");
  ASSERT_EQ(r.lines.size(), 1u);
  EXPECT_TRUE(Has(r.lines[0], "\"form1\":[300,200,800,600]")) << r.lines[0];
  EXPECT_TRUE(Has(r.lines[0], "\"foodForm\":[40,50]"));
  EXPECT_TRUE(Has(r.lines[0], "\"dragging\":0"));
}

TEST(Simulator, RefusalAndHomePageAddTheirKeys) {
  const Result r = Simulate("menu N_Ame\nmenu N_Beer\nmenu N_URL\n");
  ASSERT_EQ(r.lines.size(), 3u);
  EXPECT_FALSE(Has(r.lines[0], "\"message\""));
  EXPECT_TRUE(Has(r.lines[1], "\"message\":\"ご飯はひとつづつしか置けません．\""));
  EXPECT_TRUE(Has(r.lines[1], "\"caption\":\"飼い主の方へ\""));
  EXPECT_TRUE(Has(r.lines[2], "/pelmo/\""));
  EXPECT_TRUE(Has(r.lines[2], "\"open\":\"https://"));
}

TEST(Simulator, CuesAreReportedOnceInOrder) {
  const Result r = Simulate("press left\nrelease\ndblclick\nrelease\ntick\nmenu PopMini\ntick 2\n");
  ASSERT_EQ(r.lines.size(), 8u);
  EXPECT_TRUE(Has(r.lines[0], "\"cues\":[\"SND_CHIMES\"]"));
  EXPECT_TRUE(Has(r.lines[1], "\"cues\":[]"));
  EXPECT_TRUE(Has(r.lines[2], "\"cues\":[\"SND_CHIMES\"]"));
  EXPECT_TRUE(Has(r.lines[2], "\"mode\":8"));
  EXPECT_TRUE(Has(r.lines[4], "\"cues\":[\"SND_BAR\"]"));
  EXPECT_TRUE(Has(r.lines[5], "\"cues\":[\"stop\"]"));
  EXPECT_TRUE(Has(r.lines[5], "\"timer\":false"));
  EXPECT_EQ(r.lines[6], r.lines[7]) << "a disabled timer prints the unchanged state";
}

TEST(Simulator, StopsWithStatusZeroWhenForm1Closes) {
  const Result exit = Simulate("tray rightup\nmenu Exit\ntick 5\n");
  EXPECT_EQ(exit.status, 0);
  ASSERT_EQ(exit.lines.size(), 2u);
  EXPECT_TRUE(Has(exit.lines[1], "\"closed\":true"));

  const Result depart = Simulate("mascot 0 0\nmenu End\ntick 100\ntick\n");
  EXPECT_EQ(depart.status, 0);
  ASSERT_EQ(depart.lines.size(), 30u);  // closed on tick 29
  EXPECT_TRUE(Has(depart.lines.back(), "\"closed\":true"));
}

TEST(Simulator, BadLinesAreRejectedWithTheirNumberAndNothingHalfApplied) {
  const std::pair<const char*, const char*> cases[] = {
      {"tick\nfly away\n", "line 2: unknown command 'fly'"},
      {"\n# comment\nmascot 5\n", "line 3:"},
      {"mascot 5 6 7\n", "extra '7'"},
      {"tick x\n", "not a whole number"},
      {"tick -1\n", "out of range"},
      {"seed 4294967296\n", "out of range"},
      {"pointer 1 2147483648\n", "out of range"},
      {"press left 3\n", "extra"},
      {"press thumb\n", "unknown button"},
      {"menu Quit\n", "unknown menu item 'Quit'"},
      {"tray click\n", "unknown tray event"},
      {"workarea 1 2 3\n", "needs 4"},
  };
  for (const auto& [scenario, message] : cases) {
    const Result r = Simulate(scenario);
    EXPECT_EQ(r.status, 2) << scenario;
    EXPECT_TRUE(Has(r.err, message)) << scenario << " gave " << r.err;
  }
  // The bad line's valid-looking prefix must not have moved the mascot.
  const Result partial = Simulate("mascot 100 100\nmascot 7 x\ntick\n");
  EXPECT_EQ(partial.status, 2);
  EXPECT_TRUE(partial.lines.empty());
}

TEST(Simulator, CommentsAndBlanksAreIgnored) {
  const Result r = Simulate("  # a scenario\n\n seed 3   # the seed\n\ttick 2 # two\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.lines.size(), 2u);
}

}  // namespace
}  // namespace pelmo::tools
