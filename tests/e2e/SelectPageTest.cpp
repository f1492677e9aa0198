// The install-mode page of the real program: what it shows, cancelling, and the page
// sequences that each choice builds.

#include <functional>
#include <string>
#include <vector>

#include "PelloryUi.h"
#include "Scenario.h"
#include "robot/Control.h"
#include "robot/MessageBoxWindow.h"

using namespace std::chrono_literals;
using pellory_ui::PageNames;
using pellory_ui::Text;
using robot::MessageBoxWindow;
using robot::Sheet;

namespace {

const std::vector<std::string> kCompleteSequence = {"install-mode", "agreement", "download",
                                                    "completion"};
const std::vector<std::string> kCustomSequence = {"install-mode", "component", "agreement",
                                                  "download", "completion"};

struct Choice {
  const char* name;
  int button;
  pellory_ui::Page firstPage;
  const std::vector<std::string>* sequence;
};
const Choice kComplete{"complete", pellory_ui::kCompleteButton, pellory_ui::kAgreementPage,
                       &kCompleteSequence};
const Choice kCustom{"custom", pellory_ui::kCustomButton, pellory_ui::kComponentPage,
                     &kCustomSequence};

struct CancelWay {
  const char* name;
  std::function<bool(const Sheet&)> start;
};
const CancelWay kCancelWays[] = {
    {"Cancel button", [](const Sheet& s) { return s.PostClickButton(robot::kCancel); }},
    {"Close command", [](const Sheet& s) { return s.Close(); }},
    {"Escape key", [](const Sheet& s) { return s.PressKey(VK_ESCAPE); }},
};

}  // namespace

class SelectPageTest : public PelloryScenario {
 protected:
  void SetUp() override {
    PelloryScenario::SetUp();
    if (!HasFatalFailure()) {
      ASSERT_TRUE(Wizard().WaitForPageWith(pellory_ui::kInstallModePage.markerControl));
    }
  }

  void Choose(const Choice& choice) {
    ASSERT_TRUE(Wizard().Click(choice.button)) << choice.name << " button cannot be clicked";
    ASSERT_TRUE(Wizard().WaitForPageWith(choice.firstPage.markerControl))
        << "choosing " << choice.name << " does not lead to the " << choice.firstPage.name
        << " page";
  }

  // Back from the page right behind the install-mode page, as the user presses it.
  void GoBackToInstallMode() {
    ASSERT_TRUE(Wizard().ClickButton(robot::kBack)) << "Back cannot be clicked";
    ASSERT_TRUE(Wizard().WaitForPageWith(pellory_ui::kInstallModePage.markerControl));
  }

  void ExpectSequence(const Choice& choice) {
    EXPECT_EQ(PageNames(Wizard().PageTemplates()), *choice.sequence) << "after " << choice.name;
    EXPECT_EQ(Wizard().CurrentIndex(), 1);
  }
};

TEST_P(SelectPageTest, OpensAloneWithOnlyCancelAmongTheSheetButtons) {
  EXPECT_EQ(Wizard().Caption(), pellory_ui::kAppCaption);
  EXPECT_EQ(PageNames(Wizard().PageTemplates()), std::vector<std::string>{"install-mode"});
  EXPECT_EQ(Wizard().CurrentIndex(), 0);
  // Help included: no page of this wizard shows one.
  EXPECT_EQ(Wizard().VisibleButtons(), std::vector<int>{robot::kCancel});
  EXPECT_TRUE(robot::IsOperable(Wizard().Button(robot::kCancel)));
}

TEST_P(SelectPageTest, ShowsItsTextsFromTheStringTable) {
  const struct {
    int control;
    int stringId;
  } expected[] = {{1005, 156}, {1006, 157}, {1017, 158}, {1018, 159}};
  for (const auto& [control, stringId] : expected) {
    EXPECT_EQ(robot::TextOf(Wizard().Control(control)), Text(stringId))
        << "control " << control << " should hold string " << stringId;
  }
  SaveScreenshot(Wizard().Handle(), L"install-mode");
}

TEST_P(SelectPageTest, EveryWayToCancelAsksAndNoKeepsThePage) {
  for (const CancelWay& way : kCancelWays) {
    SCOPED_TRACE(way.name);
    ASSERT_TRUE(way.start(Wizard()));
    const auto box = MessageBoxWindow::Find(Program().Id());
    ASSERT_TRUE(box.has_value()) << "no confirmation";
    EXPECT_EQ(box->Text(), Text(169));
    EXPECT_EQ(box->Caption(), pellory_ui::kAppCaption);
    EXPECT_EQ(box->Icon(), robot::StandardIcon::Question);
    EXPECT_EQ(box->Buttons(), (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(box->Owner(), Wizard().Handle()) << "the box must be modal to the wizard";
    EXPECT_FALSE(Wizard().IsEnabled()) << "the wizard must be disabled while the box is up";

    ASSERT_TRUE(box->Answer(IDNO));
    const auto again = MessageBoxWindow::Find(Program().Id(), 1s);
    EXPECT_FALSE(again.has_value()) << "asked a second time";
    if (again) again->Answer(IDNO);
    EXPECT_TRUE(Program().IsRunning());
    EXPECT_TRUE(Wizard().IsOpen());
    EXPECT_TRUE(robot::WaitUntil([&] { return Wizard().IsEnabled(); }, 2s));
    EXPECT_EQ(Wizard().CurrentIndex(), 0);
    EXPECT_EQ(Wizard().PageCount(), 1);
  }
}

TEST_P(SelectPageTest, YesEndsTheProgram) {
  ASSERT_TRUE(Wizard().PostClickButton(robot::kCancel));
  const auto box = MessageBoxWindow::Find(Program().Id());
  ASSERT_TRUE(box.has_value());
  ASSERT_TRUE(box->Answer(IDYES));
  EXPECT_TRUE(Program().WaitForExit(5s)) << "the program keeps running after Yes";
}

TEST_P(SelectPageTest, EachChoiceBuildsItsPageSequence) {
  for (const Choice* choice : {&kComplete, &kCustom}) {
    SCOPED_TRACE(choice->name);
    ASSERT_NO_FATAL_FAILURE(Choose(*choice));
    ExpectSequence(*choice);
    ASSERT_NO_FATAL_FAILURE(GoBackToInstallMode());
    EXPECT_EQ(PageNames(Wizard().PageTemplates()), std::vector<std::string>{"install-mode"})
        << "Back must take down the pages behind the install-mode page";
    EXPECT_EQ(Wizard().VisibleButtons(), std::vector<int>{robot::kCancel});
  }
}

TEST_P(SelectPageTest, ChoosingAgainAfterBackBuildsTheNewSequenceOnly) {
  const Choice* orders[][2] = {
      {&kComplete, &kCustom}, {&kCustom, &kComplete}, {&kComplete, &kComplete}};
  for (const auto& [first, second] : orders) {
    SCOPED_TRACE(std::string(first->name) + ", Back, " + second->name);
    ASSERT_NO_FATAL_FAILURE(Choose(*first));
    ASSERT_NO_FATAL_FAILURE(GoBackToInstallMode());
    ASSERT_NO_FATAL_FAILURE(Choose(*second));
    ExpectSequence(*second);
    ASSERT_NO_FATAL_FAILURE(GoBackToInstallMode());
  }
}

PELLORY_SCENARIOS_ON_BOTH_SYSTEMS(SelectPageTest);
