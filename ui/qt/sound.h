#pragma once

#include <QAudioFormat>
#include <QIODevice>
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class QAudioSink;

namespace pelmo::ui::qt {

// 16-bit stereo samples at the one rate the channel plays.
using Samples = std::vector<std::int16_t>;
inline constexpr int kChannelRate = 44100;

// Decodes a RIFF WAVE file of 16-bit PCM (any rate, one or two channels) into
// the channel's format. Throws std::runtime_error naming `name` for anything else.
Samples DecodeWave(std::span<const std::uint8_t> bytes, std::string_view name);

// The samples of the cue now playing, followed by a stretch of silence so that
// whatever the audio device still holds when the stream ends is silence, never
// the cue's last notes. Swapping the cue cuts the old one within the device's
// short buffer, without reopening the stream.
class CueStream : public QIODevice {
 public:
  CueStream();
  void Load(const Samples* samples);  // nullptr: nothing more to play
  bool isSequential() const override { return true; }
  qint64 bytesAvailable() const override;

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  const Samples* samples_ = nullptr;
  qint64 position_ = 0;  // bytes of the cue and its silent tail already read
};

// The program's one sound channel: a new cue cuts the old one, Stop silences
// it, and without an audio device both do nothing.
class CuePlayer {
 public:
  CuePlayer();
  ~CuePlayer();
  void Play(std::string_view name);
  void Stop();

 private:
  const Samples& Cue(std::string_view name);
  bool EnsureSink();
  void StopWhenDrained();

  std::map<std::string, Samples, std::less<>> cues_;
  CueStream stream_;
  std::unique_ptr<QAudioSink> sink_;
  bool noDevice_ = false;
};

}  // namespace pelmo::ui::qt
