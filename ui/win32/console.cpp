#include "ui/win32/console.h"

#include <windows.h>

#include <string>

#include "ui/win32/wide_text.h"

namespace pelmo::ui::win32 {
namespace {

// A GUI program gets no console of its own. Its standard handles are set when its output is
// redirected; started from a console window it can borrow that window's console instead.
HANDLE OutputHandle(bool is_error) {
  HANDLE h = GetStdHandle(is_error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  if (h != nullptr && h != INVALID_HANDLE_VALUE) return h;
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return nullptr;
  h = CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, 0, nullptr);
  return h == INVALID_HANDLE_VALUE ? nullptr : h;
}

}  // namespace

void ShowCommandLineAnswer(std::string_view text, bool is_error) {
  const std::string line = std::string(text) + "\n";
  if (HANDLE h = OutputHandle(is_error)) {
    DWORD written = 0;
    if (WriteFile(h, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
        written == line.size()) {
      return;
    }
  }
  MessageBoxW(nullptr, Widen(text).c_str(), L"Pelmo",
              MB_OK | (is_error ? MB_ICONERROR : MB_ICONINFORMATION));
}

}  // namespace pelmo::ui::win32
