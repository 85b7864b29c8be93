#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/geometry.h"

namespace pelmo::engine {

// The engine's view of the four sprite windows and their controls: plain values
// that the handlers and the tick read and write, and that the ui renders.
// Picture names always point at string literals (see picture_names.h), so a
// name costs nothing to copy; an empty name means "no picture".

struct ImageControl {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  bool Stretch = false;
  bool Transparent = false;
  std::string_view Picture;
  bool operator==(const ImageControl&) const = default;
};

struct SpriteWindow {
  std::string_view Caption;
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  bool Visible = false;
  bool operator==(const SpriteWindow&) const = default;
};

enum class MouseButton : std::int32_t { Left = 0, Right = 1, Middle = 2 };

enum class PopupMenu { None, PopupMain, PopupTray };

// A sound request. Stop is StopCue; Play names a wave resource.
struct CueEvent {
  enum class Kind { Play, Stop } kind = Kind::Play;
  std::string_view name;
  bool operator==(const CueEvent&) const = default;
};

struct MessageBoxRequest {
  std::string_view text;
  std::string_view caption;
  bool operator==(const MessageBoxRequest&) const = default;
};

// What the last handler or tick asked of the platform, in addition to the
// window values. The front-end carries these out and clears them.
struct Effects {
  std::vector<CueEvent> cues;               // in the order they were asked for
  bool dragCursor = false;                  // make "MYCURSOR" the pointer shape
  bool captureMouse = false;                // SetCapture to the mascot window
  bool releaseCapture = false;              // ReleaseCapture
  bool moveFoodForm = false;                // let the user move FoodForm with the pointer
  bool hideApplicationWindow = false;       // keep the program off the taskbar
  PopupMenu popup = PopupMenu::None;        // pop up this menu at the pointer
  std::vector<MessageBoxRequest> messages;  // modal boxes to show, in order
  std::string_view openUrl;                 // ask the shell to open this address

  bool Empty() const {
    return cues.empty() && !dragCursor && !captureMouse && !releaseCapture && !moveFoodForm &&
           !hideApplicationWindow && popup == PopupMenu::None && messages.empty() &&
           openUrl.empty();
  }
  bool operator==(const Effects&) const = default;
};

struct Scene {
  // Inputs, kept current by the front-end (or the simulator).
  Point pointer;
  WorkArea workArea;

  // Form1: the mascot window.
  SpriteWindow Form1;
  ImageControl PelmoImg;
  std::string Edit1;
  std::string Edit2;
  bool Timer1Enabled = true;
  bool Form1Closed = false;

  // FoodForm: the served food.
  SpriteWindow FoodForm;
  ImageControl FoodImg;

  // RainForm: the rain (painted first) under the cloud.
  SpriteWindow RainForm;
  ImageControl RainImg;
  ImageControl CloudImg;

  // SunForm: the sun.
  SpriteWindow SunForm;
  ImageControl Img;

  Effects effects;

  bool operator==(const Scene&) const = default;
};

// The four windows with their controls as the program creates them, Form1
// spanning the given work area.
Scene InitialScene(const WorkArea& area);

}  // namespace pelmo::engine
