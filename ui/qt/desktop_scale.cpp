#include "ui/qt/desktop_scale.h"

#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "ui/scale_setting.h"

namespace pelmo::ui::qt {

namespace {

// Qt's variables that would scale the program's windows.
constexpr std::array<const char*, 3> kQtScaling = {"QT_ENABLE_HIGHDPI_SCALING", "QT_SCALE_FACTOR",
                                                   "QT_SCREEN_SCALE_FACTORS"};

xcb_connection_t* Connection() {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 == nullptr ? nullptr : x11->connection();
}

xcb_window_t Root(xcb_connection_t* connection) {
  return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

std::optional<double> ReadXftDpi() {
  xcb_connection_t* connection = Connection();
  if (connection == nullptr) return std::nullopt;
  // The whole database, however long: its length is counted in 32-bit units.
  const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
      xcb_get_property_reply(
          connection,
          xcb_get_property(connection, 0, Root(connection), XCB_ATOM_RESOURCE_MANAGER,
                           XCB_ATOM_STRING, 0, 1u << 24),
          nullptr),
      &std::free);
  if (!reply || reply->format != 8) return std::nullopt;
  return XftDpi(
      std::string_view(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       static_cast<std::size_t>(xcb_get_property_value_length(reply.get()))));
}

}  // namespace

ScaleVariables::ScaleVariables()
    : qtScaleFactor(ScaleFromVariable(std::getenv("QT_SCALE_FACTOR"))),
      gdkScale(ScaleFromVariable(std::getenv("GDK_SCALE"))) {
  for (std::size_t i = 0; i < kQtScaling.size(); ++i) {
    if (qEnvironmentVariableIsSet(kQtScaling[i])) saved_[i] = qgetenv(kQtScaling[i]);
    qunsetenv(kQtScaling[i]);
  }
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
}

// Qt reads its scaling variables once, while the application object is made.
void ScaleVariables::Restore() {
  for (std::size_t i = 0; i < kQtScaling.size(); ++i) {
    if (saved_[i]) {
      qputenv(kQtScaling[i], *saved_[i]);
    } else {
      qunsetenv(kQtScaling[i]);
    }
  }
}

int ReadDesktopScale(const ScaleVariables& variables) {
  return DesktopScale(variables.qtScaleFactor, variables.gdkScale, ReadXftDpi());
}

void FollowScaleInText(const QFont& base, const ScaleVariables& variables) {
  const std::optional<int> asked =
      variables.qtScaleFactor ? variables.qtScaleFactor : variables.gdkScale;
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double dpi = screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
  const double enlarge = asked && dpi > 0 ? *asked * 96.0 / dpi : 1.0;
  QFont font = base;
  if (enlarge > 1.0 && base.pointSizeF() > 0) font.setPointSizeF(base.pointSizeF() * enlarge);
  if (font != QGuiApplication::font()) QGuiApplication::setFont(font);
}

// Qt asks for the root window's property changes itself (for the work area); the
// mask is widened all the same, keeping whatever Qt selected.
ResourceWatcher::ResourceWatcher(std::function<void()> changed) : changed_(std::move(changed)) {
  xcb_connection_t* connection = Connection();
  if (connection == nullptr) return;
  root_ = Root(connection);
  const std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> attributes(
      xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, root_),
                                      nullptr),
      &std::free);
  if (attributes) {
    const std::uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection, root_, XCB_CW_EVENT_MASK, &mask);
  }
  QCoreApplication::instance()->installNativeEventFilter(this);
}

ResourceWatcher::~ResourceWatcher() {
  if (QCoreApplication::instance() != nullptr)
    QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool ResourceWatcher::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  if (eventType != "xcb_generic_event_t") return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  if ((event->response_type & 0x7F) != XCB_PROPERTY_NOTIFY) return false;
  const auto* property = static_cast<const xcb_property_notify_event_t*>(message);
  if (property->window == root_ && property->atom == XCB_ATOM_RESOURCE_MANAGER) changed_();
  return false;  // Qt reads the new fonts' DPI from the same event
}

}  // namespace pelmo::ui::qt
