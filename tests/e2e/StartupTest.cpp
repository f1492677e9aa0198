// Start-up of the real program: a second instance is refused, the first one is untouched.

#include <vector>

#include "PelloryUi.h"
#include "Scenario.h"
#include "robot/Control.h"
#include "robot/MessageBoxWindow.h"

using namespace std::chrono_literals;
using pellory_ui::Text;
using robot::MessageBoxWindow;
using robot::StandardIcon;

class StartupTest : public PelloryScenario {};

TEST_P(StartupTest, SecondInstanceShowsBox179AndEndsLeavingTheFirstUntouched) {
  ASSERT_TRUE(Wizard().WaitForPageWith(pellory_ui::kCompleteButton));

  robot::ChildProcess second = StartPellory();
  ASSERT_TRUE(second.Started());
  const auto box = MessageBoxWindow::Find(second.Id());
  ASSERT_TRUE(box.has_value()) << "the second instance shows no message box";
  EXPECT_EQ(box->Text(), Text(179));
  EXPECT_EQ(box->Caption(), pellory_ui::kAppCaption);
  EXPECT_EQ(box->Icon(), StandardIcon::Exclamation);
  EXPECT_EQ(box->Buttons(), std::vector<int>{IDOK});
  EXPECT_EQ(box->Owner(), nullptr) << "no window of its own exists yet";
  EXPECT_FALSE(robot::Sheet::Find(second.Id(), 0ms).has_value());

  // The first instance carries on as if nothing happened.
  EXPECT_TRUE(MessageBoxWindow::All(Program().Id()).empty());
  EXPECT_TRUE(Wizard().IsOpen());
  EXPECT_TRUE(Wizard().IsEnabled());

  ASSERT_TRUE(box->Answer(IDOK));
  EXPECT_TRUE(second.WaitForExit(5s)) << "the refused instance does not end";

  EXPECT_TRUE(Program().IsRunning());
  EXPECT_EQ(Wizard().CurrentIndex(), 0);
  EXPECT_EQ(Wizard().PageCount(), 1);
  EXPECT_TRUE(robot::IsOperable(Wizard().Control(pellory_ui::kCompleteButton)));
}

PELLORY_SCENARIOS_ON_BOTH_SYSTEMS(StartupTest);
