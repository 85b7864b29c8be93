#include "ui/win32/sound.h"

#include <windows.h>
// windows.h first: mmsystem.h needs its types.
#include <mmsystem.h>

#include <string>

namespace pelmo::ui::win32 {

void PlayCue(std::string_view name) {
  const std::string resource(name);
  PlaySoundA(resource.c_str(), GetModuleHandleA(nullptr), SND_RESOURCE | SND_ASYNC);
}

// A call without a name stops whatever the program plays; the other flags are
// the ones the program has always passed and change nothing.
void StopCue() {
  PlaySoundA(nullptr, GetModuleHandleA(nullptr), SND_RESOURCE | SND_ASYNC | SND_LOOP);
}

}  // namespace pelmo::ui::win32
