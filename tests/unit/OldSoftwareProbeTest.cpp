#include <gtest/gtest.h>

#include <string>

#include "engine/OldSoftwareProbe.h"
#include "fakes/FakeRegistry.h"

namespace {

struct ProbeCase {
  const char* version;
  bool blocks;
};

TEST(OldSoftwareProbe, VersionOneBlocks) {
  const ProbeCase cases[] = {{"1.0.0", true}, {"1", true},      {"10.2", true},
                             {"1.2.0", true}, {"2.0.0", false}, {"0.9", false},
                             {" 1", false},   {"", false},      {"v1.0", false}};
  for (const ProbeCase& c : cases)
    EXPECT_EQ(IsOldSoftwareBlocking(c.version), c.blocks) << '"' << c.version << '"';
}

// "Quoddy 基本ソフトウェア" as the older installer wrote it: Shift-JIS bytes.
const char kQuoddyKeyInShiftJis[] =
    "SOFTWARE\\Morvane Corporation\\Quoddy "
    "\x8A\xEE\x96\x7B\x83\x5C\x83\x74\x83\x67\x83\x45\x83\x46\x83\x41";

TEST(OldSoftwareProbe, ReadsCurrentVersionOfTheShiftJisKey) {
  FakeRegistry registry;
  EXPECT_EQ(ReadOldSoftwareVersion(registry), "");
  registry.SetValue(kQuoddyKeyInShiftJis, "CurrentVersion", std::string("1.2.0\0", 6));
  EXPECT_EQ(ReadOldSoftwareVersion(registry), "1.2.0");
}

TEST(OldSoftwareProbe, AnOverlongVersionDoesNotBlock) {
  FakeRegistry registry;
  registry.SetValue(kQuoddyKeyInShiftJis, "CurrentVersion", "1" + std::string(1024, '0'));
  EXPECT_FALSE(IsOldSoftwareBlocking(ReadOldSoftwareVersion(registry)));
}

}  // namespace
