#include "ui/qt/pointer_trail.h"

#include <xcb/xinput.h>

#include <QCoreApplication>
#include <cstdlib>

#include "ui/qt/pointer_events.h"

namespace pelmo::ui::qt {

PointerTrail::PointerTrail(xcb_connection_t* connection) : connection_(connection) {
  const xcb_query_extension_reply_t* xinput = xcb_get_extension_data(connection_, &xcb_input_id);
  if (xinput != nullptr && xinput->present) xinputOpcode_ = xinput->major_opcode;
}

PointerTrail::~PointerTrail() {
  Stop();
}

void PointerTrail::Follow() {
  const xcb_query_pointer_cookie_t cookie = xcb_query_pointer(
      connection_, xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root);
  xcb_query_pointer_reply_t* reply = xcb_query_pointer_reply(connection_, cookie, nullptr);
  if (reply == nullptr) return;
  position_ = QPoint(reply->root_x, reply->root_y);
  std::free(reply);
  asked_ = cookie.sequence;
  // Only while the mascot is held does any event need a look; the rest of the
  // time the filter is not in Qt's way at all.
  if (!following_) QCoreApplication::instance()->installNativeEventFilter(this);
  following_ = true;
}

void PointerTrail::Stop() {
  if (following_) QCoreApplication::instance()->removeNativeEventFilter(this);
  following_ = false;
}

std::optional<QPoint> PointerTrail::Position() const {
  if (!following_) return std::nullopt;
  return position_;
}

// Events the server sent before it answered the query are older than the
// start, though they may still be on their way to the program.
bool PointerTrail::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  if (!following_ || eventType != "xcb_generic_event_t") return false;
  const auto report =
      ReadPointerEvent(*static_cast<const xcb_generic_event_t*>(message), xinputOpcode_);
  if (!report) return false;
  if (SentSince(*report, asked_)) position_ = QPoint(report->x, report->y);
  return report->kind == PointerReport::Kind::Motion;
}

}  // namespace pelmo::ui::qt
