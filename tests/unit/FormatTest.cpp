#include "afx/AfxFormat.h"

#include <gtest/gtest.h>

TEST(FormatTest, FillsDecimalFieldsInOrder) {
  // The status texts keep the blank between the full stop and the parenthesis.
  EXPECT_EQ(FormatDecimalFields(L"ソフトウェアをダウンロードしています。 (%d/%d)", {1, 3}),
            L"ソフトウェアをダウンロードしています。 (1/3)");
  EXPECT_EQ(FormatDecimalFields(L"%d/%d", {0, 0}), L"0/0");
  EXPECT_EQ(FormatDecimalFields(L"100%% %d", {-2}), L"100% -2");
  EXPECT_EQ(FormatDecimalFields(L"%d %d %d", {10, 2147483647, -2147483647 - 1}),
            L"10 2147483647 -2147483648");
  // Too few values leave the field empty rather than reading past them.
  EXPECT_EQ(FormatDecimalFields(L"(%d/%d)", {7}), L"(7/)");
  EXPECT_EQ(FormatDecimalFields(L"no fields", {1, 2}), L"no fields");
  EXPECT_EQ(FormatDecimalFields(L"trailing %", {1}), L"trailing %");
}
