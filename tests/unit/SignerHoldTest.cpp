#include "platform/SignerHold.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Keeps the objects in the order the signer reading obtains them, up to the step it ends at.
std::vector<std::string> ReleasedAfterKeeping(int kept) {
  std::vector<std::string> released;
  {
    SignerHold hold;
    const std::pair<SignerHold::Object, const char*> obtained[] = {
        {SignerHold::Message, "message"},
        {SignerHold::Store, "store"},
        {SignerHold::SignerInfo, "signer information"},
        {SignerHold::Certificate, "certificate"},
        {SignerHold::Name, "name"}};
    for (int i = 0; i < kept; ++i) {
      const char* what = obtained[i].second;
      hold.Keep(obtained[i].first, [&released, what] { released.push_back(what); });
    }
  }
  return released;
}

TEST(SignerHoldTest, GivesBackWhatWasObtainedAndOnlyThatInTheSignerCheckOrder) {
  using Order = std::vector<std::string>;
  EXPECT_EQ(ReleasedAfterKeeping(5),
            (Order{"name", "signer information", "certificate", "store", "message"}));
  EXPECT_EQ(ReleasedAfterKeeping(4),
            (Order{"signer information", "certificate", "store", "message"}));
  EXPECT_EQ(ReleasedAfterKeeping(3), (Order{"signer information", "store", "message"}));
  EXPECT_EQ(ReleasedAfterKeeping(2), (Order{"store", "message"}));
  EXPECT_TRUE(ReleasedAfterKeeping(0).empty());
}

}  // namespace
