#include "ui/picture.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/picture_names.h"
#include "tests/ui/bmp_builder.h"

namespace pelmo::ui {
namespace {

using testing::BmpBuilder;
using testing::Gradient;

std::string DecodeError(const std::vector<std::uint8_t>& bytes) {
  try {
    DecodeBmp(bytes);
  } catch (const PictureError& e) {
    return e.what();
  }
  return "";
}

TEST(DecodeBmp, ReadsBottomUpRowsWithPaddingAsTopDownPixels) {
  // 5 pixels of 3 bytes leave 1 byte of padding per row.
  const Picture original = Gradient(5, 3);
  const Picture decoded = DecodeBmp(BmpBuilder::Rgb24(original));
  EXPECT_EQ(decoded.width, 5);
  EXPECT_EQ(decoded.height, 3);
  EXPECT_EQ(decoded.pixels, original.pixels);
}

TEST(DecodeBmp, AcceptsPackedDibTopDownRowsAndLongerHeaders) {
  const Picture original = Gradient(7, 4);
  EXPECT_EQ(DecodeBmp(BmpBuilder::Rgb24(original, {.fileHeader = false})).pixels, original.pixels);
  EXPECT_EQ(DecodeBmp(BmpBuilder::Rgb24(original, {.topDown = true})).pixels, original.pixels);
  EXPECT_EQ(DecodeBmp(BmpBuilder::Rgb24(original, {.infoHeaderSize = 124})).pixels,
            original.pixels);
  EXPECT_EQ(
      DecodeBmp(BmpBuilder::Rgb24(original, {.fileHeader = false, .infoHeaderSize = 108})).pixels,
      original.pixels);
}

TEST(DecodeBmp, LooksUpPaletteIndices) {
  const std::vector<std::uint8_t> indices = {0, 1, 2, 2, 1, 0};
  const std::vector<std::uint32_t> palette = {kKeyBlue, 0xFFFBF0, 0x402000};
  const Picture decoded = DecodeBmp(BmpBuilder::Palette8(3, 2, indices, palette));
  EXPECT_EQ(decoded.pixels, (std::vector<std::uint32_t>{kKeyBlue, 0xFFFBF0, 0x402000, 0x402000,
                                                        0xFFFBF0, kKeyBlue}));
  EXPECT_EQ(DecodeBmp(BmpBuilder::Palette8(3, 2, indices, palette, {.fileHeader = false})).pixels,
            decoded.pixels);
}

TEST(DecodeBmp, RejectsAPaletteIndexBeyondThePalette) {
  const auto bytes = BmpBuilder::Palette8(2, 1, {0, 3}, {kKeyBlue, 0xFFFFFF});
  EXPECT_NE(DecodeError(bytes).find("beyond the 2-entry palette"), std::string::npos);
}

TEST(DecodeBmp, RejectsEveryTruncation) {
  const auto full = BmpBuilder::Rgb24(Gradient(6, 5));
  // Dropping only the last row's padding is tolerated; anything shorter is not.
  for (std::size_t size = 0; size + 2 < full.size(); ++size) {
    const std::vector<std::uint8_t> part(full.begin(), full.begin() + static_cast<long>(size));
    EXPECT_THROW(DecodeBmp(part), PictureError) << "size " << size;
  }
  const auto packed = BmpBuilder::Palette8(3, 3, std::vector<std::uint8_t>(9, 1),
                                           {kKeyBlue, 0xFF0000}, {.fileHeader = false});
  for (std::size_t size = 0; size + 1 < packed.size(); ++size) {
    const std::vector<std::uint8_t> part(packed.begin(), packed.begin() + static_cast<long>(size));
    EXPECT_THROW(DecodeBmp(part), PictureError) << "size " << size;
  }
}

TEST(DecodeBmp, RejectsHeadersThatDoNotDescribeTheBytes) {
  const auto good = BmpBuilder::Rgb24(Gradient(4, 4));
  struct Case {
    const char* what;
    std::size_t field;
    std::uint32_t value;
    bool wide;
    const char* message;
  };
  const Case cases[] = {
      {"offset inside the header", BmpBuilder::kPixelOffset, 20, true, "pixel data offset"},
      {"offset past the end", BmpBuilder::kPixelOffset, 0x7FFFFFFF, true, "pixel data offset"},
      {"offset leaving too few rows", BmpBuilder::kPixelOffset, 60, true, "truncated"},
      {"declared file size too large", BmpBuilder::kFileSize, 100000, true, "truncated"},
      {"16 bits per pixel", BmpBuilder::kBitCount, 16, false, "16 bits per pixel"},
      {"32 bits per pixel", BmpBuilder::kBitCount, 32, false, "32 bits per pixel"},
      {"1 bit per pixel", BmpBuilder::kBitCount, 1, false, "1 bits per pixel"},
      {"run-length compressed", BmpBuilder::kCompression, 1, true, "compression 1"},
      {"bit fields", BmpBuilder::kCompression, 3, true, "compression 3"},
      {"two planes", BmpBuilder::kPlanes, 2, false, "colour planes"},
      {"zero width", BmpBuilder::kWidth, 0, true, "dimensions"},
      {"negative width", BmpBuilder::kWidth, 0xFFFFFFFC, true, "dimensions"},
      {"zero height", BmpBuilder::kHeight, 0, true, "dimensions"},
      {"most negative height", BmpBuilder::kHeight, 0x80000000, true, "dimensions"},
      {"absurd width", BmpBuilder::kWidth, 0x7FFFFFFF, true, "dimensions"},
      {"rows beyond the bytes", BmpBuilder::kHeight, 5000, true, "truncated"},
      {"image size too small", BmpBuilder::kImageSize, 10, true, "image size field"},
      {"core header", 14, 12, true, "info header of 12 bytes"},
      {"header beyond the bytes", 14, 4000, true, "truncated inside the info header"},
  };
  for (const Case& c : cases) {
    auto bytes = good;
    if (c.wide) {
      BmpBuilder::Put32(bytes, c.field, c.value);
    } else {
      BmpBuilder::Put16(bytes, c.field, c.value);
    }
    EXPECT_NE(DecodeError(bytes).find(c.message), std::string::npos)
        << c.what << ": got \"" << DecodeError(bytes) << "\"";
  }
}

TEST(DecodeBmp, RejectsAPaletteLargerThan256OrBeyondTheBytes) {
  auto bytes = BmpBuilder::Palette8(2, 2, {0, 1, 1, 0}, {kKeyBlue, 0});
  BmpBuilder::Put32(bytes, BmpBuilder::kColoursUsed, 257);
  EXPECT_NE(DecodeError(bytes).find("257 palette entries"), std::string::npos);
  BmpBuilder::Put32(bytes, BmpBuilder::kColoursUsed, 200);
  EXPECT_NE(DecodeError(bytes).find("palette"), std::string::npos);
}

TEST(LoadPicture, NamesAMissingPicture) {
  try {
    LoadPicture("BMP_NOSUCH");
    FAIL() << "no error";
  } catch (const PictureError& e) {
    EXPECT_NE(std::string(e.what()).find("BMP_NOSUCH"), std::string::npos);
  }
}

TEST(LoadPicture, DecodesEveryPictureTheProgramUsesWithBlueCorners) {
  for (const std::string_view name : engine::names::kPictures) {
    const Picture p = LoadPicture(name);
    ASSERT_GT(p.width, 0) << name;
    EXPECT_EQ(p.At(0, 0), kKeyBlue) << name;
    EXPECT_EQ(p.At(p.width - 1, 0), kKeyBlue) << name;
    EXPECT_EQ(p.At(0, p.height - 1), kKeyBlue) << name;
    EXPECT_EQ(p.At(p.width - 1, p.height - 1), kKeyBlue) << name;
  }
  const Picture big = LoadPicture(engine::names::kBig);
  EXPECT_EQ(big.width, 1200);
  EXPECT_EQ(big.height, 800);
}

}  // namespace
}  // namespace pelmo::ui
