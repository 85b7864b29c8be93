#include <cmath>
#include <cstdint>
#include <vector>

#include "assets/generator/geometry.h"
#include "assets/generator/makers.h"

namespace pelmo::assets::gen {
namespace {

// A sound being mixed: one float track per channel.
class Mix {
 public:
  // `millis` of sound at `rate`, rounded to the nearest whole frame.
  Mix(int channels, int rate, int millis)
      : rate_(rate), tracks_(channels, std::vector<double>((rate * millis + 500) / 1000, 0.0)) {}

  double Seconds(std::size_t frame) const { return static_cast<double>(frame) / rate_; }

  // A note: a fundamental with two softer overtones under a swift rise and a decay of
  // `decay` seconds, faded out over its last 10 ms so it never clicks. `pan` runs from -1 left
  // to 1 right.
  void Note(double start, double length, double hz, double loudness, double decay, double pan = 0) {
    const std::size_t first = static_cast<std::size_t>(start * rate_);
    const std::size_t count = static_cast<std::size_t>(length * rate_);
    for (std::size_t i = 0; i < count && first + i < tracks_[0].size(); ++i) {
      const double t = static_cast<double>(i) / rate_;
      const double rise = std::min(1.0, t / 0.004);
      const double fall = std::min(1.0, (length - t) / 0.010);
      const double envelope = loudness * rise * fall * std::exp(-t / decay);
      const double w = 2 * kPi * hz * t;
      const double wave = std::sin(w) + 0.3 * std::sin(2 * w) + 0.12 * std::sin(3 * w);
      for (std::size_t c = 0; c < tracks_.size(); ++c) {
        const double side = tracks_.size() == 1 ? 1.0 : 1 + 0.5 * (c == 0 ? -pan : pan);
        tracks_[c][first + i] += envelope * wave * side;
      }
    }
  }

  // Scales the whole mix so its loudest sample reaches `peak` of full scale.
  void Normalise(double peak) {
    double loudest = 0;
    for (const auto& t : tracks_) {
      for (double s : t) loudest = std::max(loudest, std::abs(s));
    }
    for (auto& t : tracks_) {
      for (double& s : t) s *= peak / loudest;
    }
  }

  Bytes Encode() const {
    std::vector<std::int16_t> samples;
    for (std::size_t i = 0; i < tracks_[0].size(); ++i) {
      for (const auto& t : tracks_) {
        samples.push_back(
            static_cast<std::int16_t>(std::lround(std::clamp(t[i], -1.0, 1.0) * 32767)));
      }
    }
    return EncodeWav(static_cast<int>(tracks_.size()), rate_, samples);
  }

 private:
  int rate_;
  std::vector<std::vector<double>> tracks_;
};

double Decibels(double db) {
  return std::pow(10.0, db / 20.0);
}

// Picked up: a bright falling run of bell tones, G6 down to G5, gone before the last 60 ms.
Bytes Chimes() {
  Mix m(2, 22050, 631);
  const double notes[] = {1568.0, 1318.5, 1174.7, 1046.5, 784.0};
  for (int i = 0; i < 5; ++i) {
    const double start = 0.06 * i;
    m.Note(start, 0.57 - start, notes[i], 1.0 - 0.1 * i, 0.09, i % 2 == 0 ? -0.3 : 0.3);
  }
  m.Normalise(Decibels(-6));
  return m.Encode();
}

// The start of leaving: one short, loud blip.
Bytes Bar() {
  Mix m(2, 44100, 109);
  m.Note(0, 0.109, 1046.5, 1.0, 0.05);
  m.Note(0, 0.109, 523.25, 0.6, 0.05);
  m.Normalise(Decibels(-4));
  return m.Encode();
}

// Farewell: a gentle descending phrase that settles on a long low note, then 0.8 s of quiet.
Bytes Shutdown() {
  Mix m(2, 22050, 3204);
  m.Note(0.00, 0.45, 784.0, 0.8, 0.25, -0.2);
  m.Note(0.30, 0.45, 659.3, 0.8, 0.25, 0.2);
  m.Note(0.60, 0.45, 523.3, 0.8, 0.25, -0.2);
  m.Note(0.90, 0.50, 392.0, 0.8, 0.30, 0.2);
  m.Note(1.25, 1.15, 261.6, 1.0, 0.45);
  m.Note(1.25, 1.15, 130.8, 0.6, 0.45);
  m.Normalise(Decibels(-6));
  return m.Encode();
}

// Splitting: two low tones, a fifth apart, then silence.
Bytes Insert() {
  Mix m(1, 22050, 830);
  m.Note(0.00, 0.30, 130.8, 1.0, 0.4);
  m.Note(0.31, 0.32, 196.0, 1.0, 0.4);
  m.Normalise(Decibels(-6));
  return m.Encode();
}

}  // namespace

void MakeSounds(AssetSet& set) {
  set.Add("SND_CHIMES", Chimes());
  set.Add("SND_BAR", Bar());
  set.Add("SND_SHUTDOWN", Shutdown());
  set.Add("SND_INSERT", Insert());
}

}  // namespace pelmo::assets::gen
