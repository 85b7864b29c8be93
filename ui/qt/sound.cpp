#include "ui/qt/sound.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "assets/catalogue.h"

namespace pelmo::ui::qt {

namespace {

constexpr int kChannelCount = 2;
constexpr qint64 kBytesPerFrame = kChannelCount * sizeof(std::int16_t);
// Silence after every cue, longer than what the audio server buffers ahead
// (about 150 ms by default).
constexpr qint64 kTailMs = 250;
constexpr qint64 kTailBytes = kChannelRate * kTailMs / 1000 * kBytesPerFrame;

class WaveReader {
 public:
  WaveReader(std::span<const std::uint8_t> bytes, std::string_view name)
      : bytes_(bytes), name_(name) {}

  std::uint32_t U32(std::size_t at) const {
    Need(at + 4);
    return bytes_[at] | bytes_[at + 1] << 8 | bytes_[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes_[at + 3]) << 24;
  }
  std::uint16_t U16(std::size_t at) const {
    Need(at + 2);
    return static_cast<std::uint16_t>(bytes_[at] | bytes_[at + 1] << 8);
  }
  bool Tag(std::size_t at, const char* tag) const {
    Need(at + 4);
    return std::memcmp(bytes_.data() + at, tag, 4) == 0;
  }
  void Need(std::size_t end) const {
    if (end > bytes_.size()) Fail("is cut short");
  }
  [[noreturn]] void Fail(const char* what) const {
    throw std::runtime_error("The sound " + std::string(name_) + " " + what + ".");
  }
  std::span<const std::uint8_t> Bytes() const { return bytes_; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::string_view name_;
};

// Linear interpolation to the channel's rate; mono is spread to both sides.
Samples Resample(const std::vector<std::int16_t>& interleaved, int channels, int rate) {
  const std::size_t frames = interleaved.size() / static_cast<std::size_t>(channels);
  auto sample = [&](std::size_t frame, int side) {
    frame = std::min(frame, frames - 1);
    return interleaved[frame * static_cast<std::size_t>(channels) +
                       static_cast<std::size_t>(std::min(side, channels - 1))];
  };
  const std::size_t outFrames =
      frames * static_cast<std::size_t>(kChannelRate) / static_cast<std::size_t>(rate);
  Samples out;
  out.reserve(outFrames * kChannelCount);
  for (std::size_t i = 0; i < outFrames; ++i) {
    const double at = static_cast<double>(i) * rate / kChannelRate;
    const auto frame = static_cast<std::size_t>(at);
    const double weight = at - static_cast<double>(frame);
    for (int side = 0; side < kChannelCount; ++side) {
      const double value = sample(frame, side) * (1.0 - weight) + sample(frame + 1, side) * weight;
      out.push_back(static_cast<std::int16_t>(value));
    }
  }
  return out;
}

}  // namespace

Samples DecodeWave(std::span<const std::uint8_t> bytes, std::string_view name) {
  const WaveReader wave(bytes, name);
  if (!wave.Tag(0, "RIFF") || !wave.Tag(8, "WAVE")) wave.Fail("is not a WAVE file");
  int channels = 0;
  int rate = 0;
  std::vector<std::int16_t> data;
  bool haveData = false;
  for (std::size_t at = 12; at + 8 <= bytes.size();) {
    const std::uint32_t size = wave.U32(at + 4);
    const std::size_t body = at + 8;
    if (size > bytes.size() - body) wave.Fail("is cut short");
    if (wave.Tag(at, "fmt ")) {
      if (size < 16 || wave.U16(body) != 1 || wave.U16(body + 14) != 16)
        wave.Fail("is not 16-bit PCM");
      channels = wave.U16(body + 2);
      rate = static_cast<int>(wave.U32(body + 4));
    } else if (wave.Tag(at, "data")) {
      data.resize(size / 2);
      std::memcpy(data.data(), bytes.data() + body, data.size() * 2);
      haveData = true;
    }
    at = body + size + (size & 1u);
  }
  if (channels < 1 || channels > 2 || rate < 1000 || rate > 192000)
    wave.Fail("has no usable format");
  if (!haveData) wave.Fail("has no samples");
  if (data.size() < static_cast<std::size_t>(channels)) return {};
  return Resample(data, channels, rate);
}

// Unbuffered: Qt must not read ahead of what the device takes, or a new cue would wait.
CueStream::CueStream() {
  open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

void CueStream::Load(const Samples* samples) {
  samples_ = samples;
  position_ = 0;
}

qint64 CueStream::bytesAvailable() const {
  if (samples_ == nullptr) return 0;
  const auto total = static_cast<qint64>(samples_->size() * sizeof(std::int16_t)) + kTailBytes;
  return total - position_ + QIODevice::bytesAvailable();
}

qint64 CueStream::readData(char* data, qint64 maxSize) {
  if (samples_ == nullptr) return 0;
  const auto cueBytes = static_cast<qint64>(samples_->size() * sizeof(std::int16_t));
  const qint64 total = cueBytes + kTailBytes;
  const qint64 count = std::min(maxSize, total - position_) / kBytesPerFrame * kBytesPerFrame;
  const qint64 fromCue = std::clamp<qint64>(cueBytes - position_, 0, count);
  std::memcpy(data, reinterpret_cast<const char*>(samples_->data()) + position_,
              static_cast<std::size_t>(fromCue));
  std::memset(data + fromCue, 0, static_cast<std::size_t>(count - fromCue));
  position_ += count;
  if (position_ >= total) samples_ = nullptr;
  return count;
}

CuePlayer::CuePlayer() = default;
CuePlayer::~CuePlayer() = default;

const Samples& CuePlayer::Cue(std::string_view name) {
  if (auto found = cues_.find(name); found != cues_.end()) return found->second;
  const auto bytes = assets::FindAsset(name);
  if (!bytes) throw std::runtime_error("The sound " + std::string(name) + " is missing.");
  return cues_.emplace(std::string(name), DecodeWave(*bytes, name)).first->second;
}

bool CuePlayer::EnsureSink() {
  if (sink_) return true;
  if (noDevice_) return false;
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  QAudioFormat format;
  format.setSampleRate(kChannelRate);
  format.setChannelCount(kChannelCount);
  format.setSampleFormat(QAudioFormat::Int16);
  if (device.isNull() || !device.isFormatSupported(format)) {
    noDevice_ = true;
    return false;
  }
  sink_ = std::make_unique<QAudioSink>(device, format);
  QObject::connect(sink_.get(), &QAudioSink::stateChanged, sink_.get(), [this](QAudio::State s) {
    if (s == QAudio::IdleState) StopWhenDrained();
  });
  return true;
}

// An idle stream keeps the audio server and a timer busy; a finished cue closes
// it (its silent tail is all the device still holds).
void CuePlayer::StopWhenDrained() {
  QTimer::singleShot(0, sink_.get(), [this] {
    if (sink_ && sink_->state() == QAudio::IdleState) sink_->stop();
  });
}

void CuePlayer::Play(std::string_view name) {
  const Samples& cue = Cue(name);
  if (!EnsureSink()) return;
  stream_.Load(&cue);
  if (sink_->state() == QAudio::ActiveState) return;
  if (sink_->state() != QAudio::StoppedState) sink_->stop();
  sink_->start(&stream_);
}

void CuePlayer::Stop() {
  stream_.Load(nullptr);
  if (sink_ && sink_->state() != QAudio::StoppedState) {
    sink_->reset();
    sink_->stop();
  }
}

}  // namespace pelmo::ui::qt
