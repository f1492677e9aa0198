#pragma once
// The common base of the five wizard pages: declared by template, header title and
// subtitle, and asking "終了しますか？" before the wizard is cancelled.

#include "afx/AfxPropertyPage.h"
#include "engine/InstallSession.h"
#include "platform/InstallPlatform.h"

class CBasePage : public CPropertyPage {
  DECLARE_DYNAMIC(CBasePage)
  DECLARE_MESSAGE_MAP()
 public:
  CBasePage(UINT templateId, UINT headerTitleId, UINT headerSubtitleId);
  ~CBasePage() override = default;
  BOOL OnQueryCancel() override;

 protected:
  // The sheet's one install session and its platform services.
  InstallSession& GetInstallSession() const;
  const InstallPlatform& GetPlatform() const;
  // The sheet's window, and its wizard buttons (Back, Next, Finish, Cancel) by control id.
  HWND SheetWindow() const { return GetSheetWindow(); }
  HWND SheetButton(int id) const { return ::GetDlgItem(GetSheetWindow(), id); }
  void PostWizardButtons(DWORD flags) const;
  void PressNext() const;
  // Shows (SW_SHOWNORMAL) or hides (SW_HIDE) the sheet's Back and Next buttons.
  void ShowBackAndNext(int show) const;
  // Puts string `stringId` of the string table into control `controlId` of this page.
  void SetControlText(int controlId, UINT stringId);
};

// Ids of the sheet's wizard buttons.
constexpr int kIdWizBack = 0x3023;
constexpr int kIdWizNext = 0x3024;
constexpr int kIdWizFinish = 0x3025;
