#include "app/command_line.h"

#include <gtest/gtest.h>

#include <vector>

#include "pelmo_version.h"

namespace pelmo::app {
namespace {

using Request = CommandLine::Request;

CommandLine Parse(std::vector<const char*> args) {
  args.insert(args.begin(), "pelmo");
  return ParseCommandLine(static_cast<int>(args.size()), args.data());
}

TEST(CommandLine, NoArgumentsStartsTheMascot) {
  const CommandLine c = Parse({});
  EXPECT_EQ(c.request, Request::Run);
  EXPECT_EQ(c.exit_code, 0);
}

TEST(CommandLine, HelpAndVersionAnswerAndSucceed) {
  for (const char* flag : {"--help", "-h"}) {
    const CommandLine c = Parse({flag});
    EXPECT_EQ(c.request, Request::Help) << flag;
    EXPECT_EQ(c.exit_code, 0);
    EXPECT_NE(c.text.find("--version"), std::string::npos);
    EXPECT_NE(c.text.find(PELMO_VERSION), std::string::npos);
  }
  for (const char* flag : {"--version", "-V"}) {
    const CommandLine c = Parse({flag});
    EXPECT_EQ(c.request, Request::Version) << flag;
    EXPECT_EQ(c.exit_code, 0);
    EXPECT_EQ(c.text, "pelmo " PELMO_VERSION);
  }
}

// Anything else, including a near miss or a known option with more after it, is refused with
// exit status 2 and one line that names the argument to remove.
TEST(CommandLine, AnyOtherArgumentIsAOneLineErrorNamingIt) {
  const std::vector<std::pair<std::vector<const char*>, std::string>> cases = {
      {{"--bogus"}, "'--bogus'"},
      {{"--Help"}, "'--Help'"},
      {{""}, "''"},
      {{"-platform", "xcb"}, "'-platform'"},
      {{"--help", "extra"}, "'extra'"},
      {{"--version", "--help"}, "'--help'"},
      {{"file.txt"}, "'file.txt'"},
  };
  for (const auto& [args, named] : cases) {
    const CommandLine c = Parse(args);
    EXPECT_EQ(c.request, Request::Error) << named;
    EXPECT_EQ(c.exit_code, 2) << named;
    EXPECT_NE(c.text.find(named), std::string::npos) << c.text;
    EXPECT_EQ(c.text.find('\n'), std::string::npos) << c.text;
  }
}

}  // namespace
}  // namespace pelmo::app
