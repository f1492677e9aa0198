#include <gtest/gtest.h>

#include <string>

#include "engine/HklmString.h"
#include "fakes/FakeRegistry.h"

namespace {

struct ValueCase {
  const char* name;
  bool present;
  std::string data;
  std::string expected;
};

using namespace std::string_literals;

TEST(HklmString, ReadsTheOverride) {
  const ValueCase cases[] = {
      ValueCase{"Absent", false, "", ""},
      ValueCase{"Empty", true, "", ""},
      ValueCase{"OnlyTheTerminator", true, "\0"s, ""},
      ValueCase{"String", true, "http://mirror/u.txt\0"s, "http://mirror/u.txt"},
      ValueCase{"EndsAtTheFirstZero", true, "http://a/\0http://b/\0"s, "http://a/"},
      ValueCase{"NoZeroAtAll", true, "http://m/u.txt", "http://m/u.txt"},
      ValueCase{"KeepsBlanks", true, " http://m/u.txt \0"s, " http://m/u.txt "},
      ValueCase{"FillsTheLimit", true, std::string(1023, 'x') + '\0', std::string(1023, 'x')},
      ValueCase{"FillsTheLimitWithoutZero", true, std::string(1024, 'x'), std::string(1024, 'x')},
      ValueCase{"OverTheLimit", true, std::string(1024, 'x') + '\0', ""},
  };
  for (const ValueCase& c : cases) {
    FakeRegistry registry;
    if (c.present) registry.SetValue(kPelloryKey, kUrlListValueName, c.data);
    EXPECT_EQ(ReadUrlListOverride(registry), c.expected) << c.name;
  }
}

TEST(HklmString, OtherKeysAndValuesAreNotTheOverride) {
  FakeRegistry registry;
  registry.SetValue(kPelloryKey, "URL list", "http://wrong-case/");
  registry.SetValue("SOFTWARE\\Morvane Corporation", kUrlListValueName, "http://wrong-key/");
  EXPECT_EQ(ReadUrlListOverride(registry), "");
  EXPECT_EQ(ReadHklmString(registry, kPelloryKey, "URL list"), "http://wrong-case/");
}

}  // namespace
