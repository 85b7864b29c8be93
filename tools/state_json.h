#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/engine.h"

namespace pelmo::tools {

// What one printed step adds to the state: the cues played since the last line,
// the refusal message if it was shown, the address if one was opened.
struct StepExtras {
  std::vector<engine::CueEvent> cues;
  const engine::MessageBoxRequest* message = nullptr;
  std::string_view openUrl;
};

// One JSON object (no newline) holding the whole state after a step.
std::string StateJson(const engine::Engine& engine, const StepExtras& extras);

}  // namespace pelmo::tools
