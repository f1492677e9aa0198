#include "engine/CompletionText.h"

#include <gtest/gtest.h>

TEST(CompletionTextTest, MessageRestartChoiceAndFinishFollowTheOutcome) {
  struct Case {
    int32_t result;
    std::vector<uint32_t> ids;
    bool restart;
  };
  const Case cases[] = {
      {0, {173, 170}, true},  // succeeded: two lines and the restart choice
      {1, {171}, false},      // download failed or program rejected
      {2, {172}, false},      // a setup program could not start
      {3, {178}, false},      // older software blocks
      {4, {172}, false},      // unknown values read as a failed installation
      {-1, {172}, false},     // pending: the run recorded no outcome
  };
  for (const auto& c : cases) {
    const auto result = static_cast<InstallResult>(c.result);
    EXPECT_EQ(CompletionMessageIds(result), c.ids) << c.result;
    EXPECT_EQ(OffersRestart(result), c.restart) << c.result;
    // Finish restarts only where the choice is offered and restart-now is kept.
    EXPECT_EQ(FinishRestarts(result, true), c.restart) << c.result;
    EXPECT_FALSE(FinishRestarts(result, false)) << c.result;
  }
}
