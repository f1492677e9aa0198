#include "engine/PageSequence.h"

#include <gtest/gtest.h>

TEST(PageSequenceTest, OnlyACustomInstallationHasTheComponentPage) {
  using P = WizardPage;
  EXPECT_EQ(PagesAfterSelect(InstallMode::Complete),
            (std::vector<P>{P::EULA, P::Download, P::Complete}));
  EXPECT_EQ(PagesAfterSelect(InstallMode::Custom),
            (std::vector<P>{P::CustomInst, P::EULA, P::Download, P::Complete}));
}
