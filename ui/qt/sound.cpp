#include "ui/qt/sound.h"

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "assets/catalogue.h"

namespace pelmo::ui::qt {

namespace {

constexpr int kChannelCount = 2;

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

namespace {

const pa_sample_spec kSpec = {PA_SAMPLE_S16LE, kChannelRate, kChannelCount};

// A small buffer ahead of the device: a cue that cuts another is heard within it.
pa_buffer_attr ShortBuffer() {
  pa_buffer_attr attr;
  attr.maxlength = static_cast<std::uint32_t>(-1);
  attr.tlength = static_cast<std::uint32_t>(pa_usec_to_bytes(50'000, &kSpec));
  attr.prebuf = static_cast<std::uint32_t>(-1);
  attr.minreq = static_cast<std::uint32_t>(-1);
  attr.fragsize = static_cast<std::uint32_t>(-1);
  return attr;
}

class Locked {
 public:
  explicit Locked(pa_threaded_mainloop* loop) : loop_(loop) {
    if (loop_) pa_threaded_mainloop_lock(loop_);
  }
  ~Locked() {
    if (loop_) pa_threaded_mainloop_unlock(loop_);
  }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;

 private:
  pa_threaded_mainloop* loop_;
};

}  // namespace

CuePlayer::CuePlayer() {
  loop_ = pa_threaded_mainloop_new();
  if (loop_ != nullptr && pa_threaded_mainloop_start(loop_) < 0) {
    pa_threaded_mainloop_free(loop_);
    loop_ = nullptr;
  }
  Locked lock(loop_);
  if (loop_) Connect();  // ready for the first cue, if the server is up already
}

CuePlayer::~CuePlayer() {
  if (loop_ == nullptr) return;
  pa_threaded_mainloop_stop(loop_);
  CloseStream();
  Disconnect();
  pa_threaded_mainloop_free(loop_);
}

const Samples& CuePlayer::Cue(std::string_view name) {
  if (auto found = cues_.find(name); found != cues_.end()) return found->second;
  const auto bytes = assets::FindAsset(name);
  if (!bytes) throw std::runtime_error("The sound " + std::string(name) + " is missing.");
  return cues_.emplace(std::string(name), DecodeWave(*bytes, name)).first->second;
}

void CuePlayer::Play(std::string_view name) {
  const Samples& cue = Cue(name);
  if (loop_ == nullptr) return;
  Locked lock(loop_);
  CloseStream();  // the new cue cuts the old one
  pending_ = nullptr;
  const pa_context_state_t state =
      context_ ? pa_context_get_state(context_) : PA_CONTEXT_TERMINATED;
  if (state == PA_CONTEXT_READY) {
    StartStream(cue);
  } else if (PA_CONTEXT_IS_GOOD(state)) {
    pending_ = &cue;  // still connecting: played once connected
  } else {
    Connect();
    if (context_) pending_ = &cue;
  }
}

void CuePlayer::Stop() {
  if (loop_ == nullptr) return;
  Locked lock(loop_);
  pending_ = nullptr;
  CloseStream();
}

// Without autospawn: a desktop without a sound server stays without one.
void CuePlayer::Connect() {
  Disconnect();
  context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "Pelmo");
  if (context_ == nullptr) return;
  pa_context_set_state_callback(context_, &CuePlayer::OnContextState, this);
  if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) Disconnect();
}

void CuePlayer::Disconnect() {
  if (context_ == nullptr) return;
  pa_context_set_state_callback(context_, nullptr, nullptr);
  pa_context_disconnect(context_);
  pa_context_unref(context_);
  context_ = nullptr;
}

// The whole cue goes to the server at once; the server plays it out and the
// stream is closed when it has (an idle stream would keep the server busy).
void CuePlayer::StartStream(const Samples& cue) {
  stream_ = pa_stream_new(context_, "cue", &kSpec, nullptr);
  if (stream_ == nullptr) return;
  pa_stream_set_state_callback(stream_, &CuePlayer::OnStreamState, this);
  const pa_buffer_attr attr = ShortBuffer();
  if (pa_stream_connect_playback(stream_, nullptr, &attr, PA_STREAM_ADJUST_LATENCY, nullptr,
                                 nullptr) < 0) {
    CloseStream();
    return;
  }
  streamCue_ = &cue;
}

void CuePlayer::CloseStream() {
  if (stream_ == nullptr) return;
  pa_stream_set_state_callback(stream_, nullptr, nullptr);
  pa_stream_disconnect(stream_);
  pa_stream_unref(stream_);
  stream_ = nullptr;
}

void CuePlayer::OnContextState(pa_context* context, void* self) {
  auto* player = static_cast<CuePlayer*>(self);
  const pa_context_state_t state = pa_context_get_state(context);
  if (state == PA_CONTEXT_READY && player->pending_ != nullptr) {
    player->StartStream(*std::exchange(player->pending_, nullptr));
  } else if (!PA_CONTEXT_IS_GOOD(state)) {
    // The server is gone or never came: the next cue tries again.
    player->pending_ = nullptr;
    if (player->stream_ != nullptr) {
      pa_stream_set_state_callback(player->stream_, nullptr, nullptr);
      pa_stream_unref(std::exchange(player->stream_, nullptr));
    }
  }
}

void CuePlayer::OnStreamState(pa_stream* stream, void* self) {
  auto* player = static_cast<CuePlayer*>(self);
  if (stream != player->stream_) return;
  const pa_stream_state_t state = pa_stream_get_state(stream);
  if (state == PA_STREAM_READY) {
    // The library copies the samples and sends them as the server asks.
    const Samples& cue = *player->streamCue_;
    if (!cue.empty())
      pa_stream_write(stream, cue.data(), cue.size() * sizeof(std::int16_t), nullptr, 0,
                      PA_SEEK_RELATIVE);
    pa_operation* drain = pa_stream_drain(stream, &CuePlayer::OnDrained, self);
    if (drain != nullptr) pa_operation_unref(drain);
  } else if (!PA_STREAM_IS_GOOD(state)) {
    player->CloseStream();
  }
}

void CuePlayer::OnDrained(pa_stream* stream, int, void* self) {
  auto* player = static_cast<CuePlayer*>(self);
  if (stream == player->stream_) player->CloseStream();
}

}  // namespace pelmo::ui::qt
