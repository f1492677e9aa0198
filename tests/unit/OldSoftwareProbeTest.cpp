#include "engine/OldSoftwareProbe.h"

#include <gtest/gtest.h>

#include <string>

#include "fakes/FakeRegistry.h"

namespace {

struct ProbeCase {
  const char* version;
  bool blocks;
};

class OldSoftwareProbeTest : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(OldSoftwareProbeTest, VersionOneBlocks) {
  EXPECT_EQ(IsOldSoftwareBlocking(GetParam().version), GetParam().blocks)
      << '"' << GetParam().version << '"';
}

INSTANTIATE_TEST_SUITE_P(Versions, OldSoftwareProbeTest,
                         ::testing::Values(ProbeCase{"1.0.0", true}, ProbeCase{"1", true},
                                           ProbeCase{"10.2", true}, ProbeCase{"1.2.0", true},
                                           ProbeCase{"2.0.0", false}, ProbeCase{"0.9", false},
                                           ProbeCase{" 1", false}, ProbeCase{"", false},
                                           ProbeCase{"v1.0", false}));

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
