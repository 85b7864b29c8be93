#include "ui/win32/wide_text.h"

#include <gtest/gtest.h>

namespace {

using pelmo::ui::win32::Widen;

TEST(Widen, JapaneseCaptionsBecomeUtf16) {
  EXPECT_EQ(Widen("Pelmoを終了する．"), L"Pelmo\u3092\u7D42\u4E86\u3059\u308B\uFF0E");
  EXPECT_EQ(Widen("ご飯"), L"\u3054\u98EF");
  EXPECT_EQ(Widen(""), L"");
}

TEST(Widen, InvalidBytesDoNotCutTheText) {
  const std::wstring wide = Widen(
      "a\xFF"
      "b");
  ASSERT_EQ(wide.size(), 3u);
  EXPECT_EQ(wide.front(), L'a');
  EXPECT_EQ(wide.back(), L'b');
}

}  // namespace
