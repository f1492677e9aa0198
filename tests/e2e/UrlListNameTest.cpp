// A component's file named like the URL list: the list's local copy is closed once its
// keys are read, so that file can be downloaded over it (an open copy made every attempt
// fail with a sharing violation, behind the Retry/Cancel box).

#include "InstallFixture.h"

class JapaneseUrlListNameTest : public InstallScenario {};

TEST_P(JapaneseUrlListNameTest, ResponseFileNamedLikeTheListIsFetchedAndUsed) {
  NameUrlList("tessaline.iss");  // the list's local name is Tessaline's response file's
  ServeStandardInstallation();
  WalkToDownloadPage();
  ASSERT_TRUE(WatchRun().reachedCompletion) << "a box (the retry question) stopped the run";
  EXPECT_EQ(SetupLogValues(SetupLog(), "| title"),
            (std::vector<std::string>{"corvane", "tessaline"}));
  EXPECT_EQ(RequestLog().front(), "GET /tessaline.iss");
}

INSTANTIATE_TEST_SUITE_P(Ja, JapaneseUrlListNameTest, testing::Values(kJapaneseSystem),
                         [](const auto& info) { return std::string(info.param.name); });
