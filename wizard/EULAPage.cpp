#include "wizard/EULAPage.h"

#include "afx/AfxStrings.h"
#include "engine/AgreementText.h"
#include "engine/InstallSession.h"
#include "platform/Trust.h"
#include "res/resource.h"

IMPLEMENT_DYNAMIC(CEULAPage, CBasePage)

BEGIN_MESSAGE_MAP(CEULAPage, CBasePage)
  ON_BN_CLICKED(IDC_AGREE, OnBnClickedAgree)
  ON_BN_CLICKED(IDC_DISAGREE, OnBnClickedDisagree)
END_MESSAGE_MAP()

namespace {

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
  SystemTrust().WarmUp();  // while the user reads, so that the first signature check is quick
  // The buttons' states are posted, so the sheet applies them after this activation;
  // the radio buttons keep their selection as long as the page's window lives.
  if (!IsChecked(GetDlgItem(IDC_AGREE))) {
    ::SendMessageW(GetDlgItem(IDC_DISAGREE), BM_SETCHECK, BST_CHECKED, 0);
    PostWizardButtons(PSWIZB_BACK);
  } else {
    PostWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
  }
  ShowBackAndNext(SW_SHOWNORMAL);

  // Rebuilt on every activation: the component page may have changed the choice.
  const InstallSession& session = TheInstallSession();
  const std::vector<uint16_t> ids =
      AgreementTextIds(::GetSystemDefaultLangID() == kLangJapanese, session.installCorvane,
                       session.installPelmora, session.installTessaline);
  const std::string bytes = JoinAgreementTexts(ids, &CEULAPage::LoadAgreementText);
  // The texts are Shift-JIS (the English one ASCII, which code page 932 leaves as it is):
  // converting them from 932 ourselves shows them on every system, whatever its ANSI code page.
  ::SetWindowTextW(GetDlgItem(IDC_EULA_TEXT), AfxWideFromCodePage(932, bytes).c_str());

  SetControlText(IDC_AGREE, IDS_AGREE);
  SetControlText(IDC_DISAGREE, IDS_DISAGREE);
  // Once the page is shown, the focus moves on to the next tab stop.
  ::PostMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0);
  return TRUE;
}

void CEULAPage::OnBnClickedAgree() { PostWizardButtons(PSWIZB_BACK | PSWIZB_NEXT); }

void CEULAPage::OnBnClickedDisagree() { PostWizardButtons(PSWIZB_BACK); }
