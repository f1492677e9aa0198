// The console adapter's conversion on the Japanese system, whose ANSI code page is 932:
// a Shift-JIS user folder comes out as the UTF-8 of its characters.
#include "platform/Console.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(JaConsoleTest, AnsiTextComesOutAsUtf8) {
  ASSERT_EQ(GetACP(), 932u);
  Console& console = SystemConsole();
  EXPECT_EQ(console.AnsiToUtf8("C:\\Users\\\x93\x63\x92\x86"),  // 田中
            "C:\\Users\\\xE7\x94\xB0\xE4\xB8\xAD");
  // 表: its second byte is a backslash, which stays part of the character.
  EXPECT_EQ(console.AnsiToUtf8("\x95\x5C\\"), "\xE8\xA1\xA8\\");
  EXPECT_EQ(console.AnsiToUtf8(""), "");
}

}  // namespace
