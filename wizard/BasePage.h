#pragma once
// The common base of the five wizard pages: declared by template, header title and
// subtitle, and asking "終了しますか？" before the wizard is cancelled.

#include "afx/AfxPropertyPage.h"
#include "engine/InstallSession.h"
#include "platform/InstallPlatform.h"

class CBasePage : public CPropertyPage {
 public:
  CBasePage(UINT templateId, UINT headerTitleId, UINT headerSubtitleId);
  ~CBasePage() override = default;
  BOOL OnQueryCancel() override;

 protected:
  InstallSession& GetInstallSession() const;
  const InstallPlatform& GetPlatform() const;
  // "終了しますか？": true unless the user answers No.
  static bool ConfirmExit();

  void PostWizardButtons(DWORD flags) const { GetSheetWindow().SetWizardButtons(flags); }
  void PressNext() const { GetSheetWindow().PressNext(); }
  // Shows (SW_SHOWNORMAL) or hides (SW_HIDE) the sheet's Back and Next buttons.
  void ShowBackAndNext(int show) const;
  void SetControlText(int controlId, UINT stringId);
};
