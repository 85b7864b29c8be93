#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;

namespace pelmo::ui::qt {

// 16-bit stereo samples at the one rate the channel plays.
using Samples = std::vector<std::int16_t>;
inline constexpr int kChannelRate = 44100;

// Decodes a RIFF WAVE file of 16-bit PCM (any rate, one or two channels) into
// the channel's format. Throws std::runtime_error naming `name` for anything else.
Samples DecodeWave(std::span<const std::uint8_t> bytes, std::string_view name);

// The program's one sound channel, a playback stream of the PulseAudio server:
// a new cue cuts the old one and Stop silences it. Nothing here waits for the
// server: it is talked to from its own thread, and a cue that cannot play
// because the server is missing, not up yet or gone is dropped without a word.
// A cue that finds no connection starts one, once, and plays as soon as it is
// made; so the first cue after the server comes back is heard.
class CuePlayer {
 public:
  CuePlayer();
  ~CuePlayer();
  CuePlayer(const CuePlayer&) = delete;
  CuePlayer& operator=(const CuePlayer&) = delete;

  void Play(std::string_view name);
  void Stop();

 private:
  const Samples& Cue(std::string_view name);
  // These run with the main loop locked, or on its thread.
  void Connect();
  void Disconnect();
  void StartStream(const Samples& cue);
  void CloseStream();
  static void OnContextState(pa_context* context, void* self);
  static void OnStreamState(pa_stream* stream, void* self);
  static void OnDrained(pa_stream* stream, int success, void* self);

  std::map<std::string, Samples, std::less<>> cues_;
  pa_threaded_mainloop* loop_ = nullptr;  // null: no sound at all
  pa_context* context_ = nullptr;
  pa_stream* stream_ = nullptr;
  const Samples* streamCue_ = nullptr;  // what stream_ plays once it is ready
  const Samples* pending_ = nullptr;    // waits for the connection being made
};

}  // namespace pelmo::ui::qt
