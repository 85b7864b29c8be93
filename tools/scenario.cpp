#include "tools/scenario.h"

#include <charconv>
#include <istream>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "tools/state_json.h"

namespace pelmo::tools {

namespace {

using engine::Engine;

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

std::int64_t Number(std::string_view word, std::int64_t low, std::int64_t high) {
  std::int64_t value = 0;
  const char* end = word.data() + word.size();
  auto [ptr, ec] = std::from_chars(word.data(), end, value);
  if (ec == std::errc::result_out_of_range ||
      (ec == std::errc() && ptr == end && (value < low || value > high)))
    throw ScenarioError("'" + std::string(word) + "' is out of range " + std::to_string(low) +
                        " to " + std::to_string(high));
  if (ec != std::errc() || ptr != end)
    throw ScenarioError("'" + std::string(word) + "' is not a whole number");
  return value;
}

void ExpectArgs(const std::vector<std::string_view>& words, std::size_t count) {
  if (words.size() - 1 < count)
    throw ScenarioError("'" + std::string(words[0]) + "' needs " + std::to_string(count) +
                        " argument(s)");
  if (words.size() - 1 > count)
    throw ScenarioError("'" + std::string(words[0]) + "' takes " + std::to_string(count) +
                        " argument(s), got extra '" + std::string(words[count + 1]) + "'");
}

constexpr std::int64_t kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kMax32 = std::numeric_limits<std::int32_t>::max();

struct MenuEntry {
  std::string_view name;
  void (Engine::*handler)();
};

constexpr MenuEntry kMenuItems[] = {
    {"End", &Engine::EndClick},         {"PopMini", &Engine::PopMiniClick},
    {"N_Ame", &Engine::N_AmeClick},     {"N_Naruto", &Engine::N_NarutoClick},
    {"N_Dango", &Engine::N_DangoClick}, {"N_Beer", &Engine::N_BeerClick},
    {"Open", &Engine::OpenClick},       {"Exit", &Engine::ExitClick},
    {"N_URL", &Engine::N_URLClick},
};

}  // namespace

std::optional<Command> ParseCommand(std::string_view line) {
  const std::vector<std::string_view> words = Words(line.substr(0, line.find('#')));
  if (words.empty()) return std::nullopt;
  Command c;
  const std::string_view verb = words[0];
  auto numbers = [&](Command::Verb v, std::size_t count, std::int64_t low, std::int64_t high) {
    ExpectArgs(words, count);
    c.verb = v;
    for (std::size_t i = 0; i < count; ++i) c.args[i] = Number(words[i + 1], low, high);
  };
  if (verb == "seed") {
    numbers(Command::Verb::Seed, 1, 0, std::numeric_limits<std::uint32_t>::max());
  } else if (verb == "workarea") {
    numbers(Command::Verb::WorkArea, 4, kMin32, kMax32);
  } else if (verb == "pointer") {
    numbers(Command::Verb::Pointer, 2, kMin32, kMax32);
  } else if (verb == "mascot") {
    numbers(Command::Verb::Mascot, 2, kMin32, kMax32);
  } else if (verb == "food") {
    numbers(Command::Verb::Food, 2, kMin32, kMax32);
  } else if (verb == "tick") {
    if (words.size() == 1) {
      c.verb = Command::Verb::Tick;
      c.args[0] = 1;
    } else {
      numbers(Command::Verb::Tick, 1, 0, kMax32);
    }
  } else if (verb == "press") {
    ExpectArgs(words, 1);
    c.verb = Command::Verb::Press;
    if (words[1] == "left") {
      c.button = engine::MouseButton::Left;
    } else if (words[1] == "middle") {
      c.button = engine::MouseButton::Middle;
    } else if (words[1] == "right") {
      c.button = engine::MouseButton::Right;
    } else {
      throw ScenarioError("unknown button '" + std::string(words[1]) + "' (left, middle or right)");
    }
  } else if (verb == "release") {
    ExpectArgs(words, 0);
    c.verb = Command::Verb::Release;
  } else if (verb == "dblclick") {
    ExpectArgs(words, 0);
    c.verb = Command::Verb::DblClick;
  } else if (verb == "menu") {
    ExpectArgs(words, 1);
    c.verb = Command::Verb::Menu;
    for (const MenuEntry& item : kMenuItems)
      if (item.name == words[1]) c.menuItem = item.handler;
    if (c.menuItem == nullptr)
      throw ScenarioError("unknown menu item '" + std::string(words[1]) + "'");
  } else if (verb == "tray") {
    ExpectArgs(words, 1);
    c.verb = Command::Verb::Tray;
    if (words[1] == "dblclick") {
      c.trayMessage = engine::kTrayDoubleClick;
    } else if (words[1] == "rightup") {
      c.trayMessage = engine::kTrayRightUp;
    } else {
      throw ScenarioError("unknown tray event '" + std::string(words[1]) +
                          "' (dblclick or rightup)");
    }
  } else {
    throw ScenarioError("unknown command '" + std::string(verb) + "'");
  }
  return c;
}

int Simulator::Run(std::istream& in, std::ostream& out, std::ostream& err) {
  std::string line;
  for (long number = 1; std::getline(in, line); ++number) {
    std::optional<Command> command;
    try {
      command = ParseCommand(line);
    } catch (const ScenarioError& e) {
      err << "pelmo-sim: line " << number << ": " << e.what() << '\n';
      return 2;
    }
    if (command && Apply(*command, out)) return 0;
  }
  return 0;
}

Engine& Simulator::Started() {
  // The program starts at the first command that is not desktop set-up.
  if (!engine_) {
    engine_.emplace(seed_, workArea_);
    engine_->GetScene().pointer = pointer_;
  }
  return *engine_;
}

bool Simulator::Apply(const Command& c, std::ostream& out) {
  using Verb = Command::Verb;
  auto i32 = [&](int k) { return static_cast<std::int32_t>(c.args[k]); };
  switch (c.verb) {
    case Verb::Seed:
      seed_ = static_cast<std::uint32_t>(c.args[0]);
      if (engine_) engine_->Generator().SeedRandom(seed_);
      return false;
    case Verb::WorkArea:
      workArea_ = {i32(0), i32(1), i32(2), i32(3)};
      if (engine_) engine_->GetScene().workArea = workArea_;
      return false;
    case Verb::Pointer:
      pointer_ = {i32(0), i32(1)};
      if (engine_) engine_->GetScene().pointer = pointer_;
      return false;
    case Verb::Mascot:
      Started().GetScene().Form1.Left = i32(0);
      engine_->GetScene().Form1.Top = i32(1);
      return false;
    case Verb::Food:
      Started().GetScene().FoodForm.Left = i32(0);
      engine_->GetScene().FoodForm.Top = i32(1);
      return false;
    case Verb::Tick:
      Started();
      for (std::int64_t n = 0; n < c.args[0]; ++n) {
        engine_->FireTimer1();
        if (observer_) observer_(*engine_);
        Print(out);
        if (engine_->GetScene().Form1Closed) return true;
      }
      return false;
    case Verb::Press:
      Started().PelmoImgMouseDown(c.button);
      break;
    case Verb::Release:
      Started().PelmoImgMouseUp();
      break;
    case Verb::DblClick:
      // What the toolkit delivers for the second press of a double-click.
      Started().EndClick();
      engine_->PelmoImgMouseDown(engine::MouseButton::Left);
      break;
    case Verb::Menu:
      (Started().*c.menuItem)();
      break;
    case Verb::Tray:
      Started().TrayNotify(c.trayMessage);
      break;
  }
  Print(out);
  return engine_->GetScene().Form1Closed;
}

void Simulator::Print(std::ostream& out) {
  engine::Effects& effects = engine_->GetScene().effects;
  StepExtras extras;
  extras.cues = effects.cues;
  if (!effects.messages.empty()) extras.message = &effects.messages.back();
  extras.openUrl = effects.openUrl;
  out << StateJson(*engine_, extras) << '\n';
  effects = {};
}

}  // namespace pelmo::tools
