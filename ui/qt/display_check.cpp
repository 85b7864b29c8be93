#include "ui/qt/display_check.h"

#include <xcb/xcb.h>

namespace pelmo::ui::qt {

std::optional<std::string> DisplayProblem(const char* display) {
  constexpr const char* kWhere = "; start it on a desktop, or under xvfb-run.";
  if (display == nullptr || *display == '\0')
    return std::string("pelmo: no X display ($DISPLAY is not set)") + kWhere;
  int screen = 0;
  xcb_connection_t* connection = xcb_connect(display, &screen);
  const int error = xcb_connection_has_error(connection);
  xcb_disconnect(connection);
  if (error == 0) return std::nullopt;
  const char* why = error == XCB_CONN_CLOSED_INVALID_SCREEN
                        ? "the X server there has no such screen"
                    : error == XCB_CONN_CLOSED_PARSE_ERR
                        ? "that is not the name of a display"
                        : "no X server answers there, or it refused the connection";
  return "pelmo: cannot open the X display " + std::string(display) + " (" + why + ")" + kWhere;
}

}  // namespace pelmo::ui::qt
