// pelmo: the program on a Linux X11 desktop.
#include "ui/qt/application.h"

int main(int argc, char** argv) {
  return pelmo::ui::qt::RunApplication(argc, argv);
}
