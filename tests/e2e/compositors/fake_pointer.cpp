// Plays a user's pointer into a KWin Wayland session. A virtual KWin has no
// pointer device of its own; its fake-input interface injects pointer events as
// if a device had sent them. Every step runs over one connection, since KWin
// drops the device, and what it holds, when the connection closes.
//
//   pelmo-e2e-fake-pointer STEP...      (with WAYLAND_DISPLAY set)
//
// Steps as tests/e2e/compositors/vnc_pointer.py: move:X,Y  down[:BUTTON]
// up[:BUTTON]  click[:BUTTON]  double  wait:SECONDS  drag:X1,Y1,X2,Y2,STEPS
// Buttons: 1 left, 2 middle, 3 right.
#include <wayland-client.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "fake-input-client-protocol.h"

namespace {

struct Globals {
  org_kde_kwin_fake_input* input = nullptr;
};

void announced(void* data, wl_registry* registry, uint32_t name, const char* interface,
               uint32_t version) {
  // Absolute motion came with the third version.
  if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 3)
    static_cast<Globals*>(data)->input = static_cast<org_kde_kwin_fake_input*>(
        wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 3));
}
void withdrawn(void*, wl_registry*, uint32_t) {}
const wl_registry_listener registry_listener = {announced, withdrawn};

void pause(double seconds) {
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

class Pointer {
 public:
  Pointer(wl_display* display, org_kde_kwin_fake_input* input) : display_(display), input_(input) {}

  // A jump arrives as one motion; XWayland may take a press that follows at
  // once as meant for where the pointer was. A hand never jumps: the pointer
  // lands one pixel short and then steps onto the spot.
  void move(int x, int y) {
    x = x < 0 ? 0 : x;
    y = y < 0 ? 0 : y;
    motion(x + (x == 0 ? 1 : -1), y);
    pause(0.05);
    motion(x, y);
    moved_ = true;
  }

  void press(int button) {
    // And it rests a moment where it landed before pressing.
    if (moved_) {
      pause(0.2);
      moved_ = false;
    }
    this->button(button, WL_POINTER_BUTTON_STATE_PRESSED);
  }
  void release(int button) { this->button(button, WL_POINTER_BUTTON_STATE_RELEASED); }

  // Waits until KWin has handled everything sent so far.
  bool settle() { return wl_display_roundtrip(display_) >= 0; }

 private:
  void motion(int x, int y) {
    org_kde_kwin_fake_input_pointer_motion_absolute(input_, wl_fixed_from_int(x),
                                                    wl_fixed_from_int(y));
    wl_display_flush(display_);
  }
  void button(int button, uint32_t state) {
    // The evdev codes of the left, middle and right buttons.
    static constexpr uint32_t codes[] = {0x110, 0x112, 0x111};
    org_kde_kwin_fake_input_button(input_, codes[button - 1], state);
    wl_display_flush(display_);
  }

  wl_display* display_;
  org_kde_kwin_fake_input* input_;
  bool moved_ = false;
};

bool parse_button(const std::string& arg, int& button) {
  button = arg.empty() ? 1 : std::atoi(arg.c_str());
  return button >= 1 && button <= 3;
}

bool run(Pointer& pointer, const std::string& step) {
  const auto colon = step.find(':');
  const std::string name = step.substr(0, colon);
  const std::string arg = colon == std::string::npos ? "" : step.substr(colon + 1);
  int x1, y1, x2, y2, steps, button;
  if (name == "move" && std::sscanf(arg.c_str(), "%d,%d", &x1, &y1) == 2) {
    pointer.move(x1, y1);
  } else if ((name == "down" || name == "up" || name == "click") && parse_button(arg, button)) {
    if (name != "up") pointer.press(button);
    if (name == "click") pause(0.05);
    if (name != "down") pointer.release(button);
  } else if (name == "double" && arg.empty()) {
    for (int i = 0; i < 2; ++i) {
      pointer.press(1);
      pause(0.03);
      pointer.release(1);
      pause(0.08);
    }
  } else if (name == "wait" && !arg.empty()) {
    pause(std::atof(arg.c_str()));
  } else if (name == "drag" &&
             std::sscanf(arg.c_str(), "%d,%d,%d,%d,%d", &x1, &y1, &x2, &y2, &steps) == 5 &&
             steps > 0) {
    pointer.move(x1, y1);
    pause(0.1);
    pointer.press(1);
    pause(0.3);
    for (int i = 1; i <= steps; ++i) {
      pointer.move(x1 + (x2 - x1) * i / steps, y1 + (y2 - y1) * i / steps);
      pause(0.03);
    }
    pause(0.4);
    pointer.release(1);
  } else {
    std::fprintf(stderr, "fake-pointer: unknown step %s\n", step.c_str());
    return false;
  }
  pause(0.02);
  return pointer.settle();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: pelmo-e2e-fake-pointer STEP...\n", stderr);
    return 2;
  }
  wl_display* display = wl_display_connect(nullptr);
  if (!display) {
    std::fputs("fake-pointer: no Wayland display\n", stderr);
    return 1;
  }
  Globals globals;
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &registry_listener, &globals);
  wl_display_roundtrip(display);
  if (!globals.input) {
    std::fputs("fake-pointer: the compositor offers no fake input (version 3)\n", stderr);
    return 1;
  }
  org_kde_kwin_fake_input_authenticate(globals.input, "pelmo-e2e", "plays the test's pointer");
  Pointer pointer(display, globals.input);
  for (int i = 1; i < argc; ++i)
    if (!run(pointer, argv[i])) return 1;
  pause(0.1);
  org_kde_kwin_fake_input_destroy(globals.input);
  wl_registry_destroy(registry);
  wl_display_disconnect(display);
  return 0;
}
