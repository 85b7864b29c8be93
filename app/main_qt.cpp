// pelmo: the program on a Linux X11 desktop.
#include "ui/qt/application.h"
#include "ui/qt/footprint.h"

int main(int argc, char** argv) {
  pelmo::ui::qt::ShareOneHeap();  // before any thread starts
  return pelmo::ui::qt::RunApplication(argc, argv);
}
