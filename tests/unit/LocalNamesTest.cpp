#include "net/LocalNames.h"

#include <gtest/gtest.h>

#include "engine/UrlList.h"

TEST(LocalNames, DeviceNamesAreNoFileNames) {
  const char* devices[] = {
      "CON",    "prn",         "Aux",     "nul.exe",         "COM1.iss",  "com9",
      "LPT1",   "lpt5.txt",    "COM0",    "Aux . txt",       "COM1.",     "NUL ",
      "conin$", "CONOUT$.log", "COM\xB9", "LPT\xC2\xB3.exe", "CON.tar.gz"};
  for (const char* name : devices) {
    EXPECT_TRUE(IsReservedDeviceName(name)) << name;
    EXPECT_EQ(FileNameFromUrl(std::string("http://h/d/") + name), "") << name;
  }
  const char* files[] = {"CONSOLE.exe", "COM10.iss", "COM",         "LPT",
                         "xNUL",        "nulls.txt", "COMA.iss",    "AUX1",
                         "setup.exe",   "CON_",      "LPT\xC2\xB4", ""};
  for (const char* name : files) {
    EXPECT_FALSE(IsReservedDeviceName(name)) << name;
  }
  EXPECT_EQ(FileNameFromUrl("http://h/d/COM10.iss"), "COM10.iss");
}

TEST(LocalNames, SameFileWithoutCaseAndTrailingDotsOrBlanks) {
  EXPECT_TRUE(IsSameLocalName("setup.iss", "SETUP.ISS"));
  EXPECT_TRUE(IsSameLocalName("setup.exe", "Setup.Exe. "));
  EXPECT_FALSE(IsSameLocalName("setup.exe", "setup.ex"));
  EXPECT_FALSE(IsSameLocalName("a.iss", "a.iss2"));
}

TEST(LocalNames, AComponentFileMustCarryItsKindsExtension) {
  struct {
    const char* name;
    bool response, setup;
  } const cases[] = {
      {"cvn.iss", true, false},   {"CVN.ISS", true, false},      {"x.Exe", false, true},
      {"setup.exe", false, true}, {"version.dll", false, false}, {"x.iss.dll", false, false},
      {"x.exe.iss", true, false}, {"setup", false, false},       {".iss", false, false},
      {"x.iss. .", true, false},  // stored as "x.iss"
      {"x.dll.", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HasComponentFileExtension(c.name, ComponentFileKind::ResponseFile), c.response)
        << c.name;
    EXPECT_EQ(HasComponentFileExtension(c.name, ComponentFileKind::SetupProgram), c.setup)
        << c.name;
  }
}
