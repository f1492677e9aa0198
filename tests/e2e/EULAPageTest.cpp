// The agreement page of the real program: the texts of the chosen components exactly as
// the program carries them, legible on both systems, and Next only after "agree".

#include <string>
#include <vector>

#include "ChoicePagesScenario.h"

using namespace choice_pages;

class EULAPageTest : public ChoicePagesScenario {
 protected:
  void ExpectDisagreeSelected() const {
    EXPECT_EQ(Check(kDisagree), BST_CHECKED);
    EXPECT_EQ(Check(kAgree), BST_UNCHECKED);
    EXPECT_TRUE(WizardButtonsSettleAt(true, false)) << "only Back may be enabled";
  }
  void ExpectAgreeSelected() const {
    EXPECT_EQ(Check(kAgree), BST_CHECKED);
    EXPECT_EQ(Check(kDisagree), BST_UNCHECKED);
    EXPECT_TRUE(WizardButtonsSettleAt(true, true));
  }
};

TEST_P(EULAPageTest, FirstActivationShowsTheTextsWithDisagreeSelected) {
  ASSERT_NO_FATAL_FAILURE(ChooseComplete());
  ExpectDisagreeSelected();
  EXPECT_EQ(Wizard().VisibleButtons(),
            (std::vector<int>{robot::kBack, robot::kNext, robot::kCancel}));
  EXPECT_EQ(robot::TextOf(Wizard().Control(kAgree)), kAgreeText);
  EXPECT_EQ(robot::TextOf(Wizard().Control(kDisagree)), kDisagreeText);

  EXPECT_TRUE(AgreementBoxHolds({134, 136})) << "complete: every text of this system";
  const std::wstring box = AgreementBox();
  // Legible, not merely equal to a conversion: the titles read as written.
  if (Japanese()) {
    EXPECT_EQ(box.find(L"\r\nCorvane ソフトウェア使用許諾契約書\r\n"), 0u);
    // Text 134 ends without a line break; 136 still starts on a line of its own.
    EXPECT_NE(box.find(L"Morvane Corporation\r\nTessaline ソフトウェア使用許諾契約書\r\n"),
              std::wstring::npos);
  } else {
    EXPECT_EQ(box.find(L"\r\nCORVANE SOFTWARE LICENSE AGREEMENT\r\n"), 0u);
  }
  SaveScreenshot(Wizard().Handle(), L"agreement");
  // Scroll further down, so that the join of two texts (Japanese) and the widest lines,
  // the capitals of the disclaimer (English), are looked at too.
  const HWND edit = Wizard().Control(kAgreementBox);
  const auto at =
      box.find(Japanese() ? L"Tessaline ソフトウェア使用許諾契約書" : L"DISCLAIMER OF WARRANTY");
  ASSERT_NE(at, std::wstring::npos);
  const auto line = robot::Send(edit, EM_LINEFROMCHAR, at);
  ASSERT_TRUE(line.has_value());
  robot::Send(edit, EM_LINESCROLL, 0, *line - 3);
  SaveScreenshot(Wizard().Handle(), L"agreement-scrolled");
}

TEST_P(EULAPageTest, EveryLineFitsTheWidthOfTheBox) {
  // The box does not wrap and has no horizontal scroll bar: a longer line would be cut.
  ASSERT_NO_FATAL_FAILURE(ChooseComplete());
  const HWND edit = Wizard().Control(kAgreementBox);
  RECT client{};
  ASSERT_TRUE(GetClientRect(edit, &client));
  const auto lines = robot::Send(edit, EM_GETLINECOUNT);
  ASSERT_TRUE(lines.has_value());
  ASSERT_GT(*lines, 50);
  for (LRESULT line = 0; line + 1 < *lines; ++line) {
    // Every line but the last ends in CR LF; the CR's position is the end of the line.
    const auto start = robot::Send(edit, EM_LINEINDEX, static_cast<WPARAM>(line));
    const auto length = robot::Send(edit, EM_LINELENGTH, static_cast<WPARAM>(start.value_or(0)));
    ASSERT_TRUE(start && length);
    const auto end = robot::Send(edit, EM_POSFROMCHAR, static_cast<WPARAM>(*start + *length));
    ASSERT_TRUE(end.has_value());
    const int x = static_cast<short>(LOWORD(*end));
    EXPECT_LE(x, client.right) << "line " << line << " is wider than the box";
    if (*length > 0) {
      EXPECT_GT(x, 0) << "no position for the end of line " << line;
    }
  }
}

TEST_P(EULAPageTest, AgreeEnablesNextAndDisagreeDisablesIt) {
  ASSERT_NO_FATAL_FAILURE(ChooseComplete());
  ExpectDisagreeSelected();
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ASSERT_TRUE(Wizard().Click(kAgree));
    ExpectAgreeSelected();
    ASSERT_TRUE(Wizard().Click(kDisagree));
    ExpectDisagreeSelected();
  }
}

TEST_P(EULAPageTest, CustomWithoutComponent3ShowsTheFirstTextOnly) {
  ASSERT_NO_FATAL_FAILURE(ChooseCustom());
  ASSERT_NO_FATAL_FAILURE(NextToAgreement());
  EXPECT_TRUE(AgreementBoxHolds({134}));
  ExpectDisagreeSelected();
}

TEST_P(EULAPageTest, ChangingTheChoiceRebuildsTheTextAndKeepsTheAgreement) {
  ASSERT_NO_FATAL_FAILURE(ChooseCustom());
  ASSERT_NO_FATAL_FAILURE(NextToAgreement());
  ASSERT_TRUE(Wizard().Click(kAgree));
  ExpectAgreeSelected();
  ASSERT_NO_FATAL_FAILURE(BackTo(pellory_ui::kComponentPage));
  ASSERT_NO_FATAL_FAILURE(TickComponent3IfOffered());
  ASSERT_NO_FATAL_FAILURE(NextToAgreement());
  EXPECT_TRUE(AgreementBoxHolds({134, 136}));
  ExpectAgreeSelected();
}

TEST_P(EULAPageTest, ChoosingAgainRecreatesThePage) {
  ASSERT_NO_FATAL_FAILURE(ChooseComplete());
  ASSERT_TRUE(Wizard().Click(kAgree));
  ExpectAgreeSelected();
  ASSERT_NO_FATAL_FAILURE(BackTo(pellory_ui::kInstallModePage));
  ASSERT_NO_FATAL_FAILURE(ChooseComplete());
  ExpectDisagreeSelected();
  EXPECT_TRUE(AgreementBoxHolds({134, 136}));
}

PELLORY_SCENARIOS_ON_BOTH_SYSTEMS(EULAPageTest);
