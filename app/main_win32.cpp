// pelmo.exe: the program on a Windows desktop. A GUI-subsystem program built
// with mingw-w64 may enter through main; it takes nothing on its command line.
#include "ui/win32/application.h"

int main() {
  return pelmo::ui::win32::RunApplication();
}
