#include "ui/qt/resident_pages.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace pelmo::ui::qt {
namespace {

// One mapping of a /proc/PID/smaps listing, with the fields that matter here
// and some that do not, in the kernel's order.
std::string Mapping(const std::string& header, long anonymousKb) {
  return header + "\nSize:                 16 kB\nRss:                  12 kB\n" +
         "Private_Dirty:         0 kB\nAnonymous:         " + std::to_string(anonymousKb) +
         " kB\nTHPeligible:    0\nVmFlags: rd mr mw me sd\n";
}

std::vector<AddressRange> Read(const std::string& listing) {
  std::istringstream in(listing);
  return FileCopyMappings(in);
}

TEST(ResidentPages, TakesReadOnlyFileMappingsWithNoPageOfTheirOwn) {
  const auto found = Read(
      Mapping("7f0000001000-7f0000005000 r-xp 00001000 08:01 1234   /usr/lib/libQt6Gui.so.6", 0) +
      Mapping("7f0000005000-7f0000006000 r--p 00005000 08:01 1234   /usr/lib/libQt6Gui.so.6", 0) +
      Mapping("7f0000010000-7f0000020000 r--s 00000000 08:01 99 /var/cache/fontconfig/x.cache-8",
              0));
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0].begin, 0x7f0000001000u);
  EXPECT_EQ(found[0].end, 0x7f0000005000u);
  EXPECT_EQ(found[1].begin, 0x7f0000005000u);
  EXPECT_EQ(found[2].end, 0x7f0000020000u);
}

// Dropping any of these would lose what was written to them, or read back
// something else than what the program had.
TEST(ResidentPages, LeavesWrittenWritableAndNonFileMappings) {
  const auto found = Read(
      // relocated data, made read-only after the loader wrote it
      Mapping("7f0000006000-7f0000008000 r--p 00006000 08:01 1234 /usr/lib/libQt6Gui.so.6", 8) +
      Mapping("7f0000008000-7f0000009000 rw-p 00008000 08:01 1234 /usr/lib/libQt6Gui.so.6", 0) +
      Mapping("555500000000-555500100000 rw-p 00000000 00:00 0      [heap]", 0) +
      Mapping("7f0000030000-7f0000031000 r--p 00000000 00:00 0 ", 0) +
      Mapping("7ffd00000000-7ffd00002000 r-xp 00000000 00:00 0      [vdso]", 0) +
      Mapping("7f0000040000-7f0000050000 r--s 00000000 00:01 7 /memfd:pulseaudio (deleted)", 0) +
      Mapping("7f0000050000-7f0000060000 r--s 00000000 00:05 8 /dev/dri/card0", 0) +
      Mapping("7f0000060000-7f0000070000 r--s 00000000 00:05 9 /SYSV00000000 (deleted)", 0) +
      // a library replaced on disk since it was loaded
      Mapping("7f0000070000-7f0000071000 r-xp 00000000 08:01 77 /usr/lib/libold.so (deleted)", 0));
  EXPECT_TRUE(found.empty());
}

// A listing cut short, or a kernel that does not count a mapping's own pages,
// must not have a mapping taken for one without them.
TEST(ResidentPages, KeepsMappingsWhoseOwnPagesAreNotCounted) {
  const auto found =
      Read("7f0000001000-7f0000005000 r-xp 00001000 08:01 1234 /usr/lib/libfoo.so\nRss: 4 kB\n" +
           Mapping("7f0000005000-7f0000006000 r--p 00005000 08:01 1234 /usr/lib/libfoo.so", 0) +
           "7f0000009000-7f000000a000 r--p 00009000 08:01 1234 /usr/lib/libbar.so\n");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].begin, 0x7f0000005000u);
}

TEST(ResidentPages, SkipsHeadersItCannotRead) {
  const auto found =
      Read(Mapping("zz-7f0000005000 r-xp 00001000 08:01 1234 /usr/lib/libfoo.so", 0) +
           Mapping("7f0000005000 r--p 00005000 08:01 1234 /usr/lib/libfoo.so", 0) +
           Mapping("7f0000006000-7f0000005000 r--p 00005000 08:01 1234 /usr/lib/libfoo.so", 0) +
           Mapping("7f0000008000-7f0000009000 r--p", 0) + "\n\n" +
           Mapping("7f0000009000-7f000000a000 r--p 00009000 08:01 1234 /usr/lib/libfoo.so", 0));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].begin, 0x7f0000009000u);
}

}  // namespace
}  // namespace pelmo::ui::qt
