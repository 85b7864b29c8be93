#include "ui/qt/pointer_query.h"

#include <cstdlib>
#include <cstring>

namespace pelmo::ui::qt {

namespace {

const xcb_screen_t* Screen(xcb_connection_t* connection, int number) {
  auto it = xcb_setup_roots_iterator(xcb_get_setup(connection));
  for (; it.rem > 0 && number > 0; --number) xcb_screen_next(&it);
  return it.rem > 0 ? it.data : nullptr;
}

// $DISPLAY names the display Qt opened unless it was given another one on the
// command line; the server's own description and root tell the two apart.
bool SameDisplay(xcb_connection_t* a, xcb_connection_t* b, xcb_window_t root) {
  const xcb_setup_t* one = xcb_get_setup(a);
  const xcb_setup_t* other = xcb_get_setup(b);
  const int length = xcb_setup_vendor_length(one);
  if (one->release_number != other->release_number || length != xcb_setup_vendor_length(other) ||
      std::memcmp(xcb_setup_vendor(one), xcb_setup_vendor(other), length) != 0)
    return false;
  for (auto it = xcb_setup_roots_iterator(one); it.rem > 0; xcb_screen_next(&it))
    if (it.data->root == root) return true;
  return false;
}

}  // namespace

PointerQuery::PointerQuery(xcb_connection_t* qt) {
  int number = 0;
  own_ = xcb_connect(nullptr, &number);
  const xcb_screen_t* screen = xcb_connection_has_error(own_) == 0 ? Screen(own_, number) : nullptr;
  if (screen != nullptr && SameDisplay(qt, own_, screen->root)) {
    root_ = screen->root;
  } else {
    xcb_disconnect(own_);
    own_ = nullptr;
  }
}

PointerQuery::~PointerQuery() {
  if (own_ != nullptr) xcb_disconnect(own_);
}

std::optional<QPoint> PointerQuery::Position() {
  if (own_ == nullptr) return std::nullopt;
  xcb_query_pointer_reply_t* reply =
      xcb_query_pointer_reply(own_, xcb_query_pointer(own_, root_), nullptr);
  if (reply == nullptr) return std::nullopt;
  const QPoint at(reply->root_x, reply->root_y);
  std::free(reply);
  return at;
}

}  // namespace pelmo::ui::qt
