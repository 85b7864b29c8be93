#pragma once

#include <cstdint>
#include <istream>
#include <vector>

namespace pelmo::ui::qt {

// A range of the process's address space, [begin, end).
struct AddressRange {
  std::uintptr_t begin = 0;
  std::uintptr_t end = 0;
};

// The mappings, read from a /proc/PID/smaps listing, whose resident pages are
// all copies of a file's contents that nothing can have written to: mappings
// of regular files without write permission and without a page of their own
// (a library's relocated data, made read-only after the loader wrote it, has
// such pages and is left out). Dropping the resident pages of these loses
// nothing: a later read brings the same bytes back from the page cache.
std::vector<AddressRange> FileCopyMappings(std::istream& smaps);

}  // namespace pelmo::ui::qt
