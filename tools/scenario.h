#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "engine/engine.h"

namespace pelmo::tools {

// One scenario line, fully parsed and checked before anything is applied.
struct Command {
  enum class Verb {
    Seed,
    WorkArea,
    Pointer,
    Mascot,
    Food,
    Tick,
    Press,
    Release,
    DblClick,
    Menu,
    Tray
  };
  Verb verb = Verb::Tick;
  std::int64_t args[4] = {0, 0, 0, 0};
  engine::MouseButton button = engine::MouseButton::Left;
  void (engine::Engine::*menuItem)() = nullptr;
  std::int32_t trayMessage = 0;
};

class ScenarioError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Parses one line with its comment and surrounding blanks removed; nothing for an
// empty line. Throws ScenarioError with a message that names what is wrong.
std::optional<Command> ParseCommand(std::string_view line);

// Runs the real engine on a virtual desktop, one command at a time, printing the
// state as a JSON line after every step that prints.
class Simulator {
 public:
  // Called after every tick, with the engine as it stands then (for storyboards).
  using TickObserver = std::function<void(const engine::Engine&)>;
  void SetTickObserver(TickObserver observer) { observer_ = std::move(observer); }

  // Returns the process exit status: 0 at the end of input or when Form1 has
  // closed, 2 after a bad line (reported on `err` with its line number).
  int Run(std::istream& in, std::ostream& out, std::ostream& err);

 private:
  engine::Engine& Started();
  // Applies one command; returns true once Form1 has closed.
  bool Apply(const Command& command, std::ostream& out);
  void Print(std::ostream& out);

  std::uint32_t seed_ = 0;
  engine::WorkArea workArea_;
  engine::Point pointer_;
  std::optional<engine::Engine> engine_;
  TickObserver observer_;
};

}  // namespace pelmo::tools
