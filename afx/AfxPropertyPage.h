#pragma once
// One wizard page: a PROPSHEETPAGE whose notifications become virtual operations, and
// the operations a page performs on its running sheet.

#include "afx/AfxCore.h"

class CPropertySheet;

// Control ids of the sheet's wizard buttons; Cancel is IDCANCEL.
constexpr int ID_WIZBACK = 0x3023;
constexpr int ID_WIZNEXT = 0x3024;
constexpr int ID_WIZFINISH = 0x3025;

// The running sheet, known by its window alone: a call that reaches a sheet that has gone
// fails harmlessly, so another thread may hold one.
class CSheetWindow {
 public:
  explicit CSheetWindow(HWND sheet) : m_hWnd(sheet) {}
  // Enables exactly the PSWIZB_* buttons in `flags`. Posted: the sheet applies them once
  // the current activation has finished.
  void SetWizardButtons(DWORD flags) const;
  // Sent: returns once the sheet has changed pages.
  void PressNext() const;
  // Posted: Next is pressed once the current activation has finished.
  void PostPressNext() const;
  // Shows (SW_SHOWNORMAL) or hides (SW_HIDE) the sheet button with control id `id`.
  void ShowButton(int id, int show) const;
  // Hides Cancel and gives Finish its exact rectangle.
  void PlaceFinishOverCancel() const;
  // From now on neither the Cancel button nor the window's Close command can end the wizard.
  void DisableCancel() const;

  HWND m_hWnd;
};

class CPropertyPage : public CWnd {
 public:
  // `templateId`: the page's dialog template, whose caption the page keeps.
  explicit CPropertyPage(UINT templateId);

  // Page operations. The return values are the framework's: OnSetActive TRUE accepts the
  // activation; OnWizardNext 0 moves on, -1 stays; OnWizardFinish TRUE closes;
  // OnQueryCancel TRUE lets the wizard be cancelled. Back always moves back.
  virtual BOOL OnSetActive() { return TRUE; }
  virtual LRESULT OnWizardNext() { return 0; }
  virtual BOOL OnWizardFinish() { return TRUE; }
  virtual BOOL OnQueryCancel() { return TRUE; }
  // Binds the page's control members (DDX_Control); called when its window is created.
  virtual void DoDataExchange(CDataExchange*) {}
  CPropertySheet* GetSheet() const { return m_pSheet; }
  CSheetWindow GetSheetWindow() const { return CSheetWindow(::GetParent(m_hWnd)); }

  PROPSHEETPAGEW m_psp;
  CPropertySheet* m_pSheet = nullptr;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  BOOL OnInitDialog();
  INT_PTR OnNotify(HWND hwnd, const NMHDR* header);
};
