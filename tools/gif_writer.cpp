#include "tools/gif_writer.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>
#include <utility>
#include <vector>

namespace pelmo::tools {

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

struct Rect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
};

Rect Difference(const ui::Picture& a, const ui::Picture& b) {
  Rect r{a.width, a.height, 0, 0};
  for (std::int32_t y = 0; y < a.height; ++y) {
    for (std::int32_t x = 0; x < a.width; ++x) {
      if (a.At(x, y) == b.At(x, y)) continue;
      r.left = std::min(r.left, x);
      r.right = std::max(r.right, x + 1);
      r.top = std::min(r.top, y);
      r.bottom = std::max(r.bottom, y + 1);
    }
  }
  return r;
}

std::int64_t Distance(std::uint32_t a, std::uint32_t b) {
  const auto d = [&](int shift) {
    return static_cast<std::int64_t>(a >> shift & 0xFF) -
           static_cast<std::int64_t>(b >> shift & 0xFF);
  };
  return d(16) * d(16) + d(8) * d(8) + d(0) * d(0);
}

// The rectangle's pixels as indices into `palette`.
Bytes Index(const ui::Picture& frame, const Rect& r, std::vector<std::uint32_t>& palette) {
  std::unordered_map<std::uint32_t, std::uint32_t> counts;
  for (std::int32_t y = r.top; y < r.bottom; ++y)
    for (std::int32_t x = r.left; x < r.right; ++x) ++counts[frame.At(x, y)];
  std::vector<std::pair<std::uint32_t, std::uint32_t>> byCount(counts.begin(), counts.end());
  std::sort(byCount.begin(), byCount.end(), [](const auto& a, const auto& b) {
    return a.second > b.second || (a.second == b.second && a.first < b.first);
  });
  palette.clear();
  for (std::size_t i = 0; i < byCount.size() && i < 256; ++i) palette.push_back(byCount[i].first);

  std::unordered_map<std::uint32_t, std::uint8_t> lookup;
  for (std::size_t i = 0; i < palette.size(); ++i)
    lookup[palette[i]] = static_cast<std::uint8_t>(i);
  Bytes indices;
  indices.reserve(static_cast<std::size_t>(r.right - r.left) *
                  static_cast<std::size_t>(r.bottom - r.top));
  for (std::int32_t y = r.top; y < r.bottom; ++y) {
    for (std::int32_t x = r.left; x < r.right; ++x) {
      const std::uint32_t c = frame.At(x, y);
      auto it = lookup.find(c);
      if (it == lookup.end()) {
        std::size_t best = 0;
        for (std::size_t i = 1; i < palette.size(); ++i)
          if (Distance(c, palette[i]) < Distance(c, palette[best])) best = i;
        it = lookup.emplace(c, static_cast<std::uint8_t>(best)).first;
      }
      indices.push_back(it->second);
    }
  }
  return indices;
}

// GIF's variable-width LZW, codes packed least significant bit first.
class LzwEncoder {
 public:
  explicit LzwEncoder(int minCodeSize)
      : minCodeSize_(minCodeSize), clear_(1u << minCodeSize), end_(clear_ + 1) {}

  Bytes Encode(const Bytes& indices) {
    Reset();
    Emit(clear_);
    std::uint32_t prefix = indices.front();
    for (std::size_t i = 1; i < indices.size(); ++i) {
      const std::uint32_t key = prefix << 8 | indices[i];
      const auto it = table_.find(key);
      if (it != table_.end()) {
        prefix = it->second;
        continue;
      }
      Emit(prefix);
      if (next_ < kMaxCodes) {
        table_.emplace(key, next_);
        // The decoder learns each code one step later, so the width grows once
        // the code just added no longer fits.
        if (next_ == (1u << codeSize_)) ++codeSize_;
        ++next_;
      } else {
        Emit(clear_);
        Reset();
      }
      prefix = indices[i];
    }
    Emit(prefix);
    Emit(end_);
    if (bitCount_ > 0) bytes_.push_back(static_cast<std::uint8_t>(bits_));
    return std::move(bytes_);
  }

 private:
  static constexpr std::uint32_t kMaxCodes = 4096;

  void Reset() {
    table_.clear();
    codeSize_ = minCodeSize_ + 1;
    next_ = end_ + 1;
  }

  void Emit(std::uint32_t code) {
    bits_ |= code << bitCount_;
    bitCount_ += codeSize_;
    while (bitCount_ >= 8) {
      bytes_.push_back(static_cast<std::uint8_t>(bits_));
      bits_ >>= 8;
      bitCount_ -= 8;
    }
  }

  int minCodeSize_;
  std::uint32_t clear_;
  std::uint32_t end_;
  std::uint32_t next_ = 0;
  int codeSize_ = 0;
  std::uint32_t bits_ = 0;
  int bitCount_ = 0;
  std::unordered_map<std::uint32_t, std::uint32_t> table_;
  Bytes bytes_;
};

}  // namespace

GifWriter::GifWriter(const std::string& path, std::int32_t width, std::int32_t height)
    : path_(path), out_(path, std::ios::binary) {
  if (!out_) throw std::runtime_error(path + ": cannot open for writing");
  if (width <= 0 || height <= 0 || width > 65535 || height > 65535)
    throw std::runtime_error(path + ": an animation cannot be " + std::to_string(width) + " x " +
                             std::to_string(height));
  written_ = {width, height,
              std::vector<std::uint32_t>(
                  static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0)};
  Bytes head = {'G', 'I', 'F', '8', '9', 'a'};
  Put16(head, static_cast<std::uint32_t>(width));
  Put16(head, static_cast<std::uint32_t>(height));
  head.insert(head.end(), {0x70, 0, 0});  // no global colour table
  // NETSCAPE2.0: loop for ever.
  head.insert(head.end(), {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3,
                           1, 0, 0, 0});
  out_.write(reinterpret_cast<const char*>(head.data()), static_cast<std::streamsize>(head.size()));
}

void GifWriter::AddFrame(const ui::Picture& frame, std::int32_t delayCs) {
  if (frame.width != written_.width || frame.height != written_.height)
    throw std::logic_error("animation frames must all have one size");
  if (hasPending_ && frame.pixels == pending_.pixels) {
    pendingDelay_ += delayCs;
    return;
  }
  if (hasPending_) WritePending();
  pending_ = frame;
  pendingDelay_ = delayCs;
  hasPending_ = true;
}

void GifWriter::WritePending() {
  Rect r =
      hasWritten_ ? Difference(written_, pending_) : Rect{0, 0, pending_.width, pending_.height};
  if (r.Empty()) r = {0, 0, 1, 1};  // same picture again: a 1-pixel frame carries the delay
  std::vector<std::uint32_t> palette;
  const Bytes indices = Index(pending_, r, palette);

  Bytes block;
  // Graphic control: leave the frame in place, delay in hundredths of a second.
  block.insert(block.end(), {0x21, 0xF9, 4, 0x04});
  Put16(block, static_cast<std::uint32_t>(std::clamp(pendingDelay_, 2, 65535)));
  block.insert(block.end(), {0, 0});
  block.push_back(0x2C);
  Put16(block, static_cast<std::uint32_t>(r.left));
  Put16(block, static_cast<std::uint32_t>(r.top));
  Put16(block, static_cast<std::uint32_t>(r.right - r.left));
  Put16(block, static_cast<std::uint32_t>(r.bottom - r.top));
  block.push_back(0x80 | 7);  // local colour table of 256 entries
  for (std::size_t i = 0; i < 256; ++i) {
    const std::uint32_t c = i < palette.size() ? palette[i] : 0;
    block.insert(block.end(), {static_cast<std::uint8_t>(c >> 16),
                               static_cast<std::uint8_t>(c >> 8), static_cast<std::uint8_t>(c)});
  }
  block.push_back(8);  // minimum code size
  const Bytes packed = LzwEncoder(8).Encode(indices);
  for (std::size_t at = 0; at < packed.size(); at += 255) {
    const std::size_t n = std::min<std::size_t>(255, packed.size() - at);
    block.push_back(static_cast<std::uint8_t>(n));
    block.insert(block.end(), packed.begin() + static_cast<long>(at),
                 packed.begin() + static_cast<long>(at + n));
  }
  block.push_back(0);
  out_.write(reinterpret_cast<const char*>(block.data()),
             static_cast<std::streamsize>(block.size()));

  for (std::int32_t y = r.top; y < r.bottom; ++y)
    for (std::int32_t x = r.left; x < r.right; ++x)
      written_.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(written_.width) +
                      static_cast<std::size_t>(x)] = pending_.At(x, y);
  hasWritten_ = true;
}

void GifWriter::Finish() {
  if (hasPending_) WritePending();
  hasPending_ = false;
  out_.put(0x3B);
  if (!out_.flush()) throw std::runtime_error(path_ + ": cannot write");
}

}  // namespace pelmo::tools
