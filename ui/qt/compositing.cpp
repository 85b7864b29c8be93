#include "ui/qt/compositing.h"

#include <xcb/xfixes.h>

#include <QCoreApplication>
#include <cstdlib>
#include <string>

namespace pelmo::ui::qt {

namespace {

bool HasExtension(xcb_connection_t* connection, const std::string& name) {
  xcb_query_extension_reply_t* reply = xcb_query_extension_reply(
      connection,
      xcb_query_extension(connection, static_cast<std::uint16_t>(name.size()), name.c_str()),
      nullptr);
  const bool present = reply != nullptr && reply->present;
  std::free(reply);
  return present;
}

xcb_atom_t Atom(xcb_connection_t* connection, const std::string& name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      connection,
      xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.c_str()),
      nullptr);
  const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(reply);
  return atom;
}

// The screen the program was started on, as $DISPLAY names it.
int ScreenNumber() {
  int screen = 0;
  char* host = nullptr;
  int display = 0;
  if (xcb_parse_display(nullptr, &host, &display, &screen) == 0) screen = 0;
  std::free(host);
  return screen;
}

xcb_window_t Root(xcb_connection_t* connection, int screen) {
  auto it = xcb_setup_roots_iterator(xcb_get_setup(connection));
  for (int i = 0; i < screen && it.rem > 0; ++i) xcb_screen_next(&it);
  return it.data->root;
}

}  // namespace

CompositingWatch::CompositingWatch(xcb_connection_t* connection, std::function<void()> changed)
    : connection_(connection), changed_(std::move(changed)) {
  const int screen = ScreenNumber();
  xwayland_ = HasExtension(connection_, "XWAYLAND");
  selection_ = Atom(connection_, "_NET_WM_CM_S" + std::to_string(screen));
  const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(connection_, &xcb_xfixes_id);
  if (xfixes != nullptr && xfixes->present) {
    std::free(xcb_xfixes_query_version_reply(
        connection_, xcb_xfixes_query_version(connection_, XCB_XFIXES_MAJOR_VERSION, 0), nullptr));
    selectionNotify_ = xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY;
    xcb_xfixes_select_selection_input(connection_, Root(connection_, screen), selection_,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    QCoreApplication::instance()->installNativeEventFilter(this);
  }
  // Asked after the selection is followed, so a change in between is not missed.
  managed_ = Managed();
}

CompositingWatch::~CompositingWatch() {
  if (selectionNotify_ != 0 && QCoreApplication::instance() != nullptr)
    QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool CompositingWatch::Managed() const {
  xcb_get_selection_owner_reply_t* reply = xcb_get_selection_owner_reply(
      connection_, xcb_get_selection_owner(connection_, selection_), nullptr);
  const bool owned = reply != nullptr && reply->owner != XCB_NONE;
  std::free(reply);
  return owned;
}

// Qt has its own uses for selection events, so every event goes on to it.
bool CompositingWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  if (eventType != "xcb_generic_event_t") return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  if ((event->response_type & 0x7f) != selectionNotify_) return false;
  const auto* notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t*>(event);
  if (notify->selection != selection_) return false;
  const bool managed = notify->subtype == XCB_XFIXES_SELECTION_EVENT_SET_SELECTION_OWNER &&
                       notify->owner != XCB_NONE;
  if (managed == managed_) return false;
  const bool before = Composited();
  managed_ = managed;
  // Reported once Qt is done with the event: the windows are made anew.
  if (Composited() != before)
    QMetaObject::invokeMethod(QCoreApplication::instance(), changed_, Qt::QueuedConnection);
  return false;
}

}  // namespace pelmo::ui::qt
