// The local copy of the URL list is read byte for byte on Windows too.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "engine/UrlList.h"
#include "platform/SystemInfo.h"

TEST(UrlListCopy, ReadsPastCtrlZAndCrLf) {
  const std::string path = RunningSystem().TempPath() + "pellory-url-list-copy.txt";
  // The C runtime's text mode would end the file at the Ctrl-Z (0x1A).
  std::ofstream(path, std::ios::binary)
      << "CVN_ISS,http://h/a.iss\r\n\x1a\r\nCVN_EXE,http://h/a.exe\r\n";
  const UrlListCopy copy(path);
  EXPECT_EQ(copy.Lookup("CVN_EXE"), "http://h/a.exe");
  EXPECT_EQ(copy.Lookup("CVN_ISS"), "http://h/a.iss");
  EXPECT_EQ(copy.ReadEntries()[0].setupName, "a.exe");
  DeleteFileA(path.c_str());
}
