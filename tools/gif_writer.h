#pragma once

#include <cstdint>
#include <fstream>
#include <string>

#include "ui/picture.h"

namespace pelmo::tools {

// Writes an endlessly looping animated GIF, frame by frame. Each frame stores only
// the rectangle that differs from the frame before, with its own colour table
// (its exact colours when it has at most 256, else the 256 most frequent with
// the rest mapped to the nearest of them); an unchanged frame just lengthens the
// display of the one before.
class GifWriter {
 public:
  // Throws std::runtime_error naming the file when it cannot be opened.
  GifWriter(const std::string& path, std::int32_t width, std::int32_t height);

  // `frame` must have the size given above; shown for `delayCs` hundredths of a second.
  void AddFrame(const ui::Picture& frame, std::int32_t delayCs);

  // Writes the last frame and the trailer; throws when the file could not be written.
  void Finish();

 private:
  void WritePending();

  std::string path_;
  std::ofstream out_;
  ui::Picture written_;  // the image as the frames written so far leave it
  ui::Picture pending_;
  std::int32_t pendingDelay_ = 0;
  bool hasPending_ = false;
  bool hasWritten_ = false;
};

}  // namespace pelmo::tools
