#pragma once
// One wizard page: a PROPSHEETPAGE whose notifications become virtual operations.


#include "afx/AfxCore.h"

class CPropertySheet;

class CPropertyPage : public CWnd {
  DECLARE_DYNAMIC(CPropertyPage)
 public:
  // `templateId`: the page's dialog template; `captionId` 0 keeps the template's caption.
  explicit CPropertyPage(UINT templateId, UINT captionId = 0);

  // Page operations. The return values are the framework's: OnSetActive TRUE accepts the
  // activation; OnWizardNext/Back 0 moves on, -1 stays; OnWizardFinish TRUE closes;
  // OnQueryCancel TRUE lets the wizard be cancelled.
  virtual BOOL OnSetActive() { return TRUE; }
  virtual LRESULT OnWizardNext() { return 0; }
  virtual LRESULT OnWizardBack() { return 0; }
  virtual BOOL OnWizardFinish() { return TRUE; }
  virtual BOOL OnQueryCancel() { return TRUE; }
  virtual void DoDataExchange(CDataExchange*) {}
  virtual BOOL OnInitDialog();

  BOOL UpdateData(BOOL saveAndValidate);
  // The sheet that holds this page (set when the page is added).
  CPropertySheet* GetSheet() const { return m_pSheet; }
  // The sheet's window: the page's parent.
  HWND GetSheetWindow() const { return ::GetParent(m_hWnd); }

  PROPSHEETPAGEW m_psp;
  CPropertySheet* m_pSheet = nullptr;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  INT_PTR OnNotify(HWND hwnd, const NMHDR* header);
};
