#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/assets/asset_bytes.h"

namespace pelmo::assets::test {
namespace {

struct Wave {
  int channels = 0;
  int rate = 0;
  int bits = 0;
  std::vector<std::int16_t> samples;  // interleaved
  std::size_t Frames() const { return samples.size() / channels; }
  int Sample(std::size_t frame, int channel = 0) const {
    return samples[frame * channels + channel];
  }
};

Wave Read(const char* name) {
  const auto b = Bytes(name);
  Wave w;
  EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
  EXPECT_EQ(Le32(b, 4), b.size() - 8);
  EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
  EXPECT_EQ(Le16(b, 20), 1);  // PCM
  w.channels = Le16(b, 22);
  w.rate = static_cast<int>(Le32(b, 24));
  w.bits = Le16(b, 34);
  EXPECT_EQ(Le32(b, 28), static_cast<std::uint32_t>(w.rate * w.channels * 2));
  EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
  const std::uint32_t size = Le32(b, 40);
  EXPECT_EQ(44 + size, b.size());
  for (std::size_t at = 44; at + 1 < 44 + size; at += 2) {
    w.samples.push_back(static_cast<std::int16_t>(Le16(b, at)));
  }
  return w;
}

double Peak(const Wave& w, std::size_t from, std::size_t to) {
  int peak = 0;
  for (std::size_t f = from; f < to; ++f) {
    for (int c = 0; c < w.channels; ++c) peak = std::max(peak, std::abs(w.Sample(f, c)));
  }
  return peak / 32768.0;
}

// Counts rising zero crossings per second between two times: the pitch of a plain tone.
double Pitch(const Wave& w, double from, double to) {
  int rises = 0;
  for (auto f = static_cast<std::size_t>(from * w.rate); f < to * w.rate; ++f) {
    rises += w.Sample(f) < 0 && w.Sample(f + 1) >= 0;
  }
  return rises / (to - from);
}

TEST(Sounds, HaveTheirChannelsRatesAndLengthsInSamples) {
  struct Expected {
    const char* name;
    int channels, rate;
    std::size_t frames;
  };
  // round(rate x seconds): 0.631 s, 0.109 s, 3.204 s and 0.830 s.
  for (const Expected& e : {Expected{"SND_CHIMES", 2, 22050, 13914},
                            {"SND_BAR", 2, 44100, 4807},
                            {"SND_SHUTDOWN", 2, 22050, 70648},
                            {"SND_INSERT", 1, 22050, 18302}}) {
    SCOPED_TRACE(e.name);
    const Wave w = Read(e.name);
    EXPECT_EQ(w.channels, e.channels);
    EXPECT_EQ(w.rate, e.rate);
    EXPECT_EQ(w.bits, 16);
    EXPECT_EQ(w.Frames(), e.frames);
    EXPECT_EQ(w.Sample(0), 0) << "starts from silence, without a click";
    EXPECT_EQ(w.Sample(w.Frames() - 1), 0) << "ends in silence, without a click";
  }
}

TEST(Sounds, ChimesAreLoudFirstThenFadeToASilentTail) {
  const Wave w = Read("SND_CHIMES");
  const std::size_t early = static_cast<std::size_t>(0.3 * w.rate);
  const std::size_t tail = w.Frames() - static_cast<std::size_t>(0.06 * w.rate);
  EXPECT_GT(Peak(w, 0, early), 2 * Peak(w, early, tail));
  EXPECT_EQ(Peak(w, tail, w.Frames()), 0);
  EXPECT_NEAR(Pitch(w, 0.005, 0.05), 1568, 120) << "starts high";
}

TEST(Sounds, BarIsOneLoudBlipNearMinusFourDecibels) {
  const Wave w = Read("SND_BAR");
  EXPECT_NEAR(20 * std::log10(Peak(w, 0, w.Frames())), -4.0, 0.3);
}

TEST(Sounds, ShutdownEndsLowWithEightTenthsOfASecondSilent) {
  const Wave w = Read("SND_SHUTDOWN");
  const std::size_t tail = w.Frames() - static_cast<std::size_t>(0.8 * w.rate);
  EXPECT_EQ(Peak(w, tail, w.Frames()), 0);
  EXPECT_GT(Peak(w, tail - w.rate, tail), 0.01) << "the long low note sounds until the tail";
  EXPECT_LT(Pitch(w, 1.6, 2.2), 300);
}

TEST(Sounds, InsertIsTwoLowTonesThenSilence) {
  const Wave w = Read("SND_INSERT");
  EXPECT_NEAR(Pitch(w, 0.05, 0.25), 130, 15);
  EXPECT_NEAR(Pitch(w, 0.40, 0.60), 195, 15);
  const std::size_t tail = w.Frames() - static_cast<std::size_t>(0.2 * w.rate);
  EXPECT_EQ(Peak(w, tail, w.Frames()), 0);
}

}  // namespace
}  // namespace pelmo::assets::test
