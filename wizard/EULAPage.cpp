#include "wizard/EULAPage.h"

#include "afx/AfxStrings.h"
#include "engine/AgreementText.h"
#include "engine/InstallSession.h"
#include "res/resource.h"

IMPLEMENT_DYNAMIC(CEULAPage, CBasePage)

BEGIN_MESSAGE_MAP(CEULAPage, CBasePage)
  ON_BN_CLICKED(IDC_AGREE, OnBnClickedAgree)
  ON_BN_CLICKED(IDC_DISAGREE, OnBnClickedDisagree)
END_MESSAGE_MAP()

namespace {

// The agreement texts are Shift-JIS (the English one ASCII, which code page 932 leaves as
// it is). Converting them from 932 ourselves shows them on every system, whatever its
// ANSI code page.
CString AgreementTextForDisplay(const std::string& bytes) {
  if (bytes.empty()) return CString();
  const int length = static_cast<int>(bytes.size());
  int wide = ::MultiByteToWideChar(932, 0, bytes.data(), length, nullptr, 0);
  if (wide <= 0) return CString();
  CString text(static_cast<size_t>(wide), L'\0');
  wide = ::MultiByteToWideChar(932, 0, bytes.data(), length, &text[0], wide);
  text.resize(static_cast<size_t>(wide > 0 ? wide : 0));
  return text;
}

bool IsChecked(HWND button) { return ::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace

CEULAPage::CEULAPage() : CBasePage(IDD_EULA, IDS_EULA_TITLE, IDS_EULA_SUBTITLE) {
  m_psp.dwFlags &= ~PSP_HASHELP;
}

std::string CEULAPage::LoadAgreementText(WORD id) {
  HMODULE module = ::GetModuleHandleW(nullptr);
  HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(RT_AGREEMENT));
  if (found == nullptr) return std::string();
  HGLOBAL loaded = ::LoadResource(module, found);
  const void* data = loaded ? ::LockResource(loaded) : nullptr;
  return TextUpToNul(data, ::SizeofResource(module, found));
}

BOOL CEULAPage::OnSetActive() {
  // The buttons' states are posted, so the sheet applies them after this activation;
  // the radio buttons keep their selection as long as the page's window lives.
  if (!IsChecked(GetDlgItem(IDC_AGREE))) {
    ::SendMessageW(GetDlgItem(IDC_DISAGREE), BM_SETCHECK, BST_CHECKED, 0);
    PostWizardButtons(PSWIZB_BACK);
  } else {
    PostWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
  }
  ::ShowWindow(SheetButton(kIdWizBack), SW_SHOWNORMAL);
  ::ShowWindow(SheetButton(kIdWizNext), SW_SHOWNORMAL);

  // Rebuilt on every activation: the component page may have changed the choice.
  const InstallSession& session = TheInstallSession();
  const std::vector<uint16_t> ids =
      AgreementTextIds(::GetSystemDefaultLangID() == kLangJapanese, session.installCorvane,
                       session.installPelmora, session.installTessaline);
  const std::string bytes = JoinAgreementTexts(ids, &CEULAPage::LoadAgreementText);
  ::SetWindowTextW(GetDlgItem(IDC_EULA_TEXT), AgreementTextForDisplay(bytes).c_str());

  const UINT strings[] = {IDS_AGREE, IDS_DISAGREE};
  const int controls[] = {IDC_AGREE, IDC_DISAGREE};
  for (int i = 0; i < 2; ++i) {
    CString text;
    AfxLoadString(strings[i], text);
    SetDlgItemText(controls[i], text);
  }
  // Once the page is shown, the focus moves on to the next tab stop.
  ::PostMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0);
  return TRUE;
}

void CEULAPage::OnBnClickedAgree() { PostWizardButtons(PSWIZB_BACK | PSWIZB_NEXT); }

void CEULAPage::OnBnClickedDisagree() { PostWizardButtons(PSWIZB_BACK); }
