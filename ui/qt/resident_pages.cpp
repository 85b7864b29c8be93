#include "ui/qt/resident_pages.h"

#include <optional>
#include <sstream>
#include <string>

namespace pelmo::ui::qt {

namespace {

struct Mapping {
  AddressRange range;
  bool readOnly = false;
  bool regularFile = false;
  // Pages written since the mapping was made (copy-on-write): unknown until
  // the listing says, and a mapping whose count is missing is kept.
  std::optional<long> anonymousKb;
};

// A file that was deleted or replaced still maps, but "(deleted)" ends its
// name; devices, shared memory and memfd objects are not files to read again.
bool IsRegularFilePath(const std::string& path) {
  if (path.empty() || path.front() != '/') return false;
  if (path.starts_with("/dev/") || path.starts_with("/memfd:") || path.starts_with("/SYSV"))
    return false;
  return !path.ends_with("(deleted)");
}

std::optional<Mapping> ParseHeader(const std::string& line) {
  std::istringstream fields(line);
  std::string range, perms, offset, device, inode;
  if (!(fields >> range >> perms >> offset >> device >> inode)) return std::nullopt;
  const std::size_t dash = range.find('-');
  if (dash == std::string::npos || perms.size() < 4) return std::nullopt;
  std::string path;
  std::getline(fields >> std::ws, path);
  Mapping mapping;
  try {
    mapping.range.begin = std::stoull(range.substr(0, dash), nullptr, 16);
    mapping.range.end = std::stoull(range.substr(dash + 1), nullptr, 16);
  } catch (const std::exception&) {
    return std::nullopt;
  }
  mapping.readOnly = perms[1] == '-';
  mapping.regularFile = IsRegularFilePath(path);
  return mapping;
}

bool IsFileCopy(const Mapping& mapping) {
  return mapping.readOnly && mapping.regularFile && mapping.anonymousKb == 0 &&
         mapping.range.end > mapping.range.begin;
}

}  // namespace

std::vector<AddressRange> FileCopyMappings(std::istream& smaps) {
  std::vector<AddressRange> found;
  std::optional<Mapping> current;
  std::string line;
  const auto finish = [&] {
    if (current && IsFileCopy(*current)) found.push_back(current->range);
    current.reset();
  };
  while (std::getline(smaps, line)) {
    // Field lines start with a capitalised name and a colon; mapping headers
    // with an address range in hexadecimal.
    const std::size_t colon = line.find(':');
    const std::size_t space = line.find(' ');
    const bool field = colon != std::string::npos && colon < space;
    if (!field) {
      finish();
      current = ParseHeader(line);
      continue;
    }
    if (current && line.starts_with("Anonymous:")) {
      std::istringstream value(line.substr(colon + 1));
      long kb = 0;
      if (value >> kb) current->anonymousKb = kb;
    }
  }
  finish();
  return found;
}

}  // namespace pelmo::ui::qt
