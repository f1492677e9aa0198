// A component's file named like the URL list: the list's local copy is closed once its
// keys are read, so that file can be downloaded over it (an open copy made every attempt
// fail with a sharing violation, behind the Retry/Cancel box).

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "InstallFixture.h"

class JapaneseUrlListNameTest : public InstallScenario {};

TEST_P(JapaneseUrlListNameTest, ResponseFileNamedLikeTheListIsFetchedAndUsed) {
  ServeStandardInstallation();
  const std::string www = std::getenv("PELLORY_TEST_WWW");
  const std::string folder = www + "\\components\\tessaline\\";
  ASSERT_TRUE(
      ::CopyFileA((folder + "tessaline.iss").c_str(), (folder + "url_list.txt").c_str(), FALSE));
  std::stringstream list;
  list << std::ifstream(www + "\\url_list.txt", std::ios::binary).rdbuf();
  std::string text = list.str();
  const std::string old = "tessaline/tessaline.iss";
  text.replace(text.find(old), old.size(), "tessaline/url_list.txt");
  std::ofstream(www + "\\url_list.txt", std::ios::binary | std::ios::trunc) << text;

  WalkToDownloadPage();
  ASSERT_TRUE(WatchRun().reachedCompletion) << "a box (the retry question) stopped the run";
  EXPECT_EQ(SetupLogValues(SetupLog(), "| title"),
            (std::vector<std::string>{"corvane", "tessaline"}));
}

INSTANTIATE_TEST_SUITE_P(Ja, JapaneseUrlListNameTest, testing::Values(kJapaneseSystem),
                         [](const auto& info) { return std::string(info.param.name); });
