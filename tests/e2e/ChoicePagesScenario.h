#pragma once
// Steps through the component and agreement pages as a user would, for the scenarios of
// those two pages. The wizard's button states are posted by the pages and applied a
// moment after a page change, so every look at them waits for them to settle.

#include <chrono>
#include <string>
#include <vector>

#include "AgreementResources.h"
#include "PelloryUi.h"
#include "Scenario.h"
#include "robot/Control.h"

namespace choice_pages {

inline constexpr int kInstruction = 1019;
inline constexpr int kCorvaneBox = 1011;
inline constexpr int kTessalineBox = 1013;
inline constexpr int kAgreementBox = 1008;
inline constexpr int kAgree = 1009;
inline constexpr int kDisagree = 1010;

// The string table's texts of the two pages, as the program must show them.
inline const std::wstring kInstructionText =
    L"インストールするソフトウェアにチェックを入れてください。";
inline const std::wstring kCorvaneText = L"Corvane (必須)";
inline const std::wstring kTessalineText = L"Tessaline";
inline const std::wstring kAgreeText = L"使用許諾契約の全条項に同意します(&A)";
inline const std::wstring kDisagreeText = L"使用許諾契約の条項に同意しません(&D)";

}  // namespace choice_pages

class ChoicePagesScenario : public PelloryScenario {
 protected:
  void SetUp() override {
    PelloryScenario::SetUp();
    if (!HasFatalFailure()) {
      ASSERT_TRUE(Wizard().WaitForPageWith(pellory_ui::kInstallModePage.markerControl));
    }
  }

  bool Japanese() const { return GetParam().languageId == 0x0411; }

  void ChooseComplete() {
    ASSERT_TRUE(Wizard().Click(pellory_ui::kCompleteButton));
    ASSERT_TRUE(Wizard().WaitForPageWith(choice_pages::kAgreementBox)) << "no agreement page";
  }
  void ChooseCustom() {
    ASSERT_TRUE(Wizard().Click(pellory_ui::kCustomButton));
    ASSERT_TRUE(Wizard().WaitForPageWith(choice_pages::kCorvaneBox)) << "no component page";
  }
  // Next from the component page, as soon as the user can press it.
  void NextToAgreement() {
    // Clicked as soon as it is operable (see InstallScenario::WalkToDownloadPage).
    ASSERT_TRUE(robot::WaitUntil([&] { return Wizard().ClickButton(robot::kNext); }))
        << "Next is not available on the component page";
    ASSERT_TRUE(Wizard().WaitForPageWith(choice_pages::kAgreementBox)) << "no agreement page";
  }
  // Ticks box 1013 on the system that offers it (the Japanese one).
  void TickComponent3IfOffered() {
    if (Japanese()) {
      ASSERT_TRUE(Wizard().Click(choice_pages::kTessalineBox));
      ASSERT_EQ(Check(choice_pages::kTessalineBox), BST_CHECKED);
    }
  }
  void BackTo(const pellory_ui::Page& page) {
    ASSERT_TRUE(robot::WaitUntil([&] { return robot::IsOperable(Wizard().Button(robot::kBack)); }))
        << "Back is not available";
    ASSERT_TRUE(Wizard().ClickButton(robot::kBack));
    ASSERT_TRUE(Wizard().WaitForPageWith(page.markerControl))
        << "Back does not lead to the " << page.name << " page";
  }

  int Check(int control) const { return robot::CheckState(Wizard().Control(control)); }
  std::wstring AgreementBox() const {
    return robot::TextOf(Wizard().Control(choice_pages::kAgreementBox));
  }
  // Whether the agreement box holds, each after CR LF, the texts `japanese` on the
  // Japanese system, or text 141 alone on the English one.
  ::testing::AssertionResult AgreementBoxHolds(const std::vector<WORD>& japanese) const {
    return agreement_resources::BoxHolds(AgreementBox(),
                                         Japanese() ? japanese : std::vector<WORD>{141});
  }

  // Waits until Back and Next have the given enabled states, and checks that they keep
  // them a little while (a posted state change may still be on its way).
  ::testing::AssertionResult WizardButtonsSettleAt(bool back, bool next) const {
    using namespace std::chrono_literals;
    auto matches = [&] {
      return robot::IsEnabled(Wizard().Button(robot::kBack)) == back &&
             robot::IsEnabled(Wizard().Button(robot::kNext)) == next;
    };
    if (robot::WaitUntil(matches) && !robot::WaitUntil([&] { return !matches(); }, 300ms)) {
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "Back " << (robot::IsEnabled(Wizard().Button(robot::kBack)) ? "enabled" : "disabled")
           << ", Next "
           << (robot::IsEnabled(Wizard().Button(robot::kNext)) ? "enabled" : "disabled")
           << "; expected Back " << (back ? "enabled" : "disabled") << ", Next "
           << (next ? "enabled" : "disabled");
  }
};
