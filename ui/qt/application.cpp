// The program on a Linux X11 desktop: the application object, the four windows
// and the message loop.
#include "ui/qt/application.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>

#include "ui/forms.h"
#include "ui/qt/desktop_scale.h"
#include "ui/qt/display_check.h"
#include "ui/qt/footprint.h"
#include "ui/qt/platform.h"

namespace pelmo::ui::qt {

namespace {

constexpr int kSettleMs = 500;

// The generator is seeded from the clock. PELMO_SEED (a test hook, used by the
// end-to-end tests to replay the same behaviour) overrides it.
std::uint32_t Seed() {
  bool ok = false;
  const uint seed = qEnvironmentVariable("PELMO_SEED").toUInt(&ok);
  return ok ? seed : static_cast<std::uint32_t>(std::time(nullptr));
}

// The mascot is made of X11 windows placed pixel by pixel, which a Wayland
// session shows through XWayland; Qt's own Wayland windows cannot be placed.
void UseX11() {
  const QString asked = qEnvironmentVariable("QT_QPA_PLATFORM");
  if (!asked.isEmpty() && asked != "xcb")
    std::fprintf(stderr, "pelmo: QT_QPA_PLATFORM=%s is not used; Pelmo runs on X11 (xcb).\n",
                 asked.toLocal8Bit().constData());
  qputenv("QT_QPA_PLATFORM", "xcb");
}

// Qt starts a session bus of its own where none is named, and that bus would
// outlive the program. The session's bus is used where it is at its usual place.
void UseSessionBusOrNone() {
  if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return;
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  const QString bus = runtime + "/bus";
  if (!runtime.isEmpty() && QFileInfo(bus).exists()) {
    qputenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + bus).toLocal8Bit());
  } else {
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
  }
}

}  // namespace

int RunApplication(int argc, char** argv) {
  UseX11();
  UseSessionBusOrNone();
  ScaleVariables scaleVariables;
  // The mascot wakes ten times a second for as long as the desktop runs; Qt's
  // own event loop costs less per wake-up than GLib's, and nothing here needs GLib.
  if (qEnvironmentVariableIsEmpty("QT_NO_GLIB")) qputenv("QT_NO_GLIB", "1");
  if (const auto problem = DisplayProblem(std::getenv("DISPLAY"))) {
    std::fprintf(stderr, "%s\n", problem->c_str());
    return 1;
  }

  QApplication app(argc, argv);
  BoundPixmapCache();
  // Qt's start reads far more of its libraries than the mascot runs on, and the
  // kernel maps the neighbours of each page read as well. Letting those go here,
  // before the windows are built, as well as once the first frames are up,
  // keeps the program's peak some five megabytes lower.
  ReturnFreedMemory();
  scaleVariables.Restore();
  const QString title = QString::fromUtf8(kTitle.data(), static_cast<qsizetype>(kTitle.size()));
  QApplication::setApplicationName(title);
  // Hiding the mascot hides every window; only Form1's closing ends the program.
  QApplication::setQuitOnLastWindowClosed(false);
  try {
    QtPlatform platform(scaleVariables);
    Forms forms(platform, Seed());
    platform.Attach(forms);
    forms.Start();
    // What only the start ran and read is let go once the first frames are up.
    QTimer::singleShot(kSettleMs, [] { ReturnFreedMemory(); });
    QApplication::exec();
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, title, QString::fromUtf8(e.what()));
  }
  return 0;
}

}  // namespace pelmo::ui::qt
