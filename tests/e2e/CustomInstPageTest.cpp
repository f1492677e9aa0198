// The component page of the real program: component 1 forced on, component 3 offered on
// the Japanese system only, and the choice kept or dropped as the user moves around.
// What Next records is seen where it matters: in the agreement texts that follow.

#include <functional>
#include <string>
#include <vector>

#include "ChoicePagesScenario.h"

using namespace choice_pages;
using namespace std::chrono_literals;

class CustomInstPageTest : public ChoicePagesScenario {
 protected:
  HWND Box(int id) const { return Wizard().Control(id); }
};

namespace {

// A space bar press on a button, delivered to the button itself.
bool PressSpaceOn(HWND button) {
  return robot::Send(button, WM_KEYDOWN, VK_SPACE, 0x00390001).has_value() &&
         robot::Send(button, WM_KEYUP, VK_SPACE, 0xC0390001).has_value();
}

struct UserAction {
  const char* name;
  std::function<bool(HWND)> act;
};
const UserAction kClickOrSpace[] = {{"click", robot::Click}, {"space bar", PressSpaceOn}};

}  // namespace

TEST_P(CustomInstPageTest, ShowsItsTextsWithComponent1Checked) {
  ASSERT_NO_FATAL_FAILURE(ChooseCustom());
  EXPECT_EQ(robot::TextOf(Box(kInstruction)), kInstructionText);
  EXPECT_EQ(robot::TextOf(Box(kCorvaneBox)), kCorvaneText);
  EXPECT_EQ(robot::TextOf(Box(kTessalineBox)), kTessalineText);
  EXPECT_EQ(Check(kCorvaneBox), BST_CHECKED);
  EXPECT_EQ(Check(kTessalineBox), BST_UNCHECKED);
  EXPECT_EQ(robot::IsVisible(Box(kTessalineBox)), Japanese())
      << "component 3 is offered on the Japanese system only";
  EXPECT_TRUE(WizardButtonsSettleAt(true, true));
  EXPECT_EQ(Wizard().VisibleButtons(),
            (std::vector<int>{robot::kBack, robot::kNext, robot::kCancel}));
  SaveScreenshot(Wizard().Handle(), L"component");
}

TEST_P(CustomInstPageTest, Component1StaysCheckedAndIsRecorded) {
  ASSERT_NO_FATAL_FAILURE(ChooseCustom());
  for (const UserAction& action : kClickOrSpace) {
    SCOPED_TRACE(action.name);
    ASSERT_TRUE(action.act(Box(kCorvaneBox)));
    EXPECT_EQ(Check(kCorvaneBox), BST_CHECKED);
  }
  if (Japanese()) {
    // The same actions do change the automatic box: they really reached the page.
    ASSERT_TRUE(PressSpaceOn(Box(kTessalineBox)));
    EXPECT_EQ(Check(kTessalineBox), BST_CHECKED);
    ASSERT_TRUE(robot::Click(Box(kTessalineBox)));
    EXPECT_EQ(Check(kTessalineBox), BST_UNCHECKED);
  }
  ASSERT_NO_FATAL_FAILURE(NextToAgreement());
  EXPECT_TRUE(AgreementBoxHolds({134}));
}

TEST_P(CustomInstPageTest, Component3IsRecordedOnlyWhenChecked) {
  if (!Japanese()) {
    ASSERT_NO_FATAL_FAILURE(ChooseCustom());
    EXPECT_FALSE(robot::Click(Box(kTessalineBox))) << "a hidden box cannot be clicked";
    ASSERT_NO_FATAL_FAILURE(NextToAgreement());
    EXPECT_TRUE(agreement_resources::BoxHolds(AgreementBox(), {141}));
    return;
  }
  const struct {
    bool tick;
    std::vector<WORD> expected;
  } cases[] = {{false, {134}}, {true, {134, 136}}, {false, {134}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tick ? "ticked" : "not ticked");
    ASSERT_NO_FATAL_FAILURE(ChooseCustom());
    if (c.tick) {
      ASSERT_TRUE(Wizard().Click(kTessalineBox));
    }
    ASSERT_NO_FATAL_FAILURE(NextToAgreement());
    EXPECT_TRUE(agreement_resources::BoxHolds(AgreementBox(), c.expected));
    ASSERT_NO_FATAL_FAILURE(BackTo(pellory_ui::kComponentPage));
    ASSERT_NO_FATAL_FAILURE(BackTo(pellory_ui::kInstallModePage));
  }
}

TEST_P(CustomInstPageTest, BackFromTheAgreementKeepsTheChoice) {
  ASSERT_NO_FATAL_FAILURE(ChooseCustom());
  ASSERT_NO_FATAL_FAILURE(TickComponent3IfOffered());
  ASSERT_NO_FATAL_FAILURE(NextToAgreement());
  // Clear box 1011 while its page is out of sight: coming back must check it again.
  const HWND componentPage = Wizard().PageAt(1);
  ASSERT_TRUE(robot::Send(robot::Child(componentPage, kCorvaneBox), BM_SETCHECK, BST_UNCHECKED));
  ASSERT_NO_FATAL_FAILURE(BackTo(pellory_ui::kComponentPage));
  EXPECT_EQ(Check(kCorvaneBox), BST_CHECKED);
  EXPECT_EQ(Check(kTessalineBox), Japanese() ? BST_CHECKED : BST_UNCHECKED);
  ASSERT_NO_FATAL_FAILURE(NextToAgreement());
  EXPECT_TRUE(AgreementBoxHolds({134, 136}));
}

TEST_P(CustomInstPageTest, ChoosingCustomAgainStartsAfresh) {
  ASSERT_NO_FATAL_FAILURE(ChooseCustom());
  ASSERT_NO_FATAL_FAILURE(TickComponent3IfOffered());
  ASSERT_NO_FATAL_FAILURE(BackTo(pellory_ui::kInstallModePage));
  ASSERT_NO_FATAL_FAILURE(ChooseCustom());
  EXPECT_EQ(Check(kTessalineBox), BST_UNCHECKED) << "the page's window must be new";
  EXPECT_EQ(Check(kCorvaneBox), BST_CHECKED);
  // The new boxes are the ones the page reads: the old handles died with the old window.
  ASSERT_NO_FATAL_FAILURE(NextToAgreement());
  EXPECT_TRUE(AgreementBoxHolds({134}));
}

TEST_P(CustomInstPageTest, ACompleteChoiceBeforeDoesNotLeakIntoCustom) {
  // Complete selects component 3 on the Japanese system; custom then asks again.
  ASSERT_NO_FATAL_FAILURE(ChooseComplete());
  ASSERT_NO_FATAL_FAILURE(BackTo(pellory_ui::kInstallModePage));
  ASSERT_NO_FATAL_FAILURE(ChooseCustom());
  EXPECT_EQ(Check(kTessalineBox), BST_UNCHECKED);
  ASSERT_NO_FATAL_FAILURE(NextToAgreement());
  EXPECT_TRUE(AgreementBoxHolds({134}));
}

PELLORY_SCENARIOS_ON_BOTH_SYSTEMS(CustomInstPageTest);
