#include "engine/InstallChoices.h"

#include <gtest/gtest.h>

#include "engine/Components.h"

namespace {

struct Flags {
  bool corvane, pelmora, tessaline;
  InstallMode mode;
};

Flags Of(const InstallSession& s) {
  return {s.installCorvane, s.installPelmora, s.installTessaline, s.installMode};
}

void ExpectFlags(const InstallSession& s, const Flags& want, const char* what) {
  const Flags got = Of(s);
  EXPECT_EQ(got.corvane, want.corvane) << what;
  EXPECT_EQ(got.pelmora, want.pelmora) << what;
  EXPECT_EQ(got.tessaline, want.tessaline) << what;
  EXPECT_EQ(got.mode, want.mode) << what;
}

TEST(InstallChoicesTest, FlagsFollowTheChoiceAndTheSystemLanguage) {
  {
    InstallSession s;
    RecordCompleteChoice(s, 0x0411);
    ExpectFlags(s, {true, false, true, InstallMode::Complete}, "complete, Japanese");
  }
  {
    InstallSession s;
    s.installPelmora = true;  // nothing may leave component 2 chosen
    RecordCompleteChoice(s, 0x0409);
    ExpectFlags(s, {true, false, false, InstallMode::Complete}, "complete, English");
  }
  {
    InstallSession s;
    RecordCompleteChoice(s, 0x0411);
    RecordCustomChoice(s);
    // The earlier choice stays until the component page is left with Next.
    ExpectFlags(s, {true, false, true, InstallMode::Custom}, "custom after complete");
    RecordComponentChoice(s, true, false);
    ExpectFlags(s, {true, false, false, InstallMode::Custom}, "component page, box 3 unchecked");
    RecordComponentChoice(s, true, true);
    ExpectFlags(s, {true, false, true, InstallMode::Custom}, "component page, box 3 checked");
  }
  // Component 3 is offered, and chosen by a complete installation, on Japanese systems only.
  EXPECT_TRUE(IsOffered(kComponents[kTessaline], 0x0411));
  EXPECT_FALSE(IsOffered(kComponents[kTessaline], 0x0409));
  EXPECT_FALSE(IsOffered(kComponents[kTessaline], 0x0404));
}

TEST(InstallChoicesTest, ANewSessionHoldsTheInitialChoice) {
  InstallSession s;
  ExpectFlags(s, {true, false, false, InstallMode::Complete}, "initial");
  EXPECT_EQ(s.Result(), InstallResult::Pending);
}

}  // namespace
