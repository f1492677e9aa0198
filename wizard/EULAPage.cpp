#include "wizard/EULAPage.h"

#include "afx/AfxStrings.h"
#include "engine/AgreementText.h"
#include "engine/InstallSession.h"
#include "platform/SystemInfo.h"
#include "res/resource.h"

// The core's copy of the language id that the system reports on a Japanese Windows.
static_assert(kLangJapanese == MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), "Japanese");

// clang-format off
BEGIN_MESSAGE_MAP(CEULAPage, CBasePage)
ON_BN_CLICKED(IDC_AGREE, OnBnClickedAgree)
ON_BN_CLICKED(IDC_DISAGREE, OnBnClickedDisagree)
END_MESSAGE_MAP()
// clang-format on

CEULAPage::CEULAPage() : CBasePage(IDD_EULA, IDS_EULA_TITLE, IDS_EULA_SUBTITLE) {}

void CEULAPage::DoDataExchange(CDataExchange* pDX) {
  CBasePage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_AGREE, m_radioAgree);
  DDX_Control(pDX, IDC_DISAGREE, m_radioDisagree);
}

BOOL CEULAPage::OnSetActive() {
  // The buttons' states are posted, so the sheet applies them after this activation;
  // the radio buttons keep their selection as long as the page's window lives.
  if (m_radioAgree.GetCheck() != BST_CHECKED) {
    m_radioDisagree.SetCheck(BST_CHECKED);
    PostWizardButtons(PSWIZB_BACK);
  } else {
    PostWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
  }
  ShowBackAndNext(SW_SHOWNORMAL);

  // Rebuilt on every activation: the component page may have changed the choice.
  const InstallSession& session = GetInstallSession();
  const std::vector<uint16_t> ids = AgreementTextIds(
      GetPlatform().system->SystemDefaultLangId() == kLangJapanese, SelectionOf(session));
  // Each text's bytes as stored (a type-23 resource), up to the first NUL.
  const std::string bytes = JoinAgreementTexts(ids, [](uint16_t id) {
    DWORD size = 0;
    const void* data = AfxLoadResource(MAKEINTRESOURCEA(RT_AGREEMENT), id, size);
    return TextUpToNul(data, size);
  });
  // The texts are Shift-JIS (the English one ASCII, which code page 932 leaves as it is):
  // converting them from 932 ourselves shows them on every system, whatever its ANSI code page.
  SetDlgItemText(IDC_EULA_TEXT, AfxWideFromCodePage(932, bytes));

  SetControlText(IDC_AGREE, IDS_AGREE);
  SetControlText(IDC_DISAGREE, IDS_DISAGREE);
  PostNextDlgCtrl();
  return TRUE;
}

void CEULAPage::OnBnClickedAgree() { PostWizardButtons(PSWIZB_BACK | PSWIZB_NEXT); }

void CEULAPage::OnBnClickedDisagree() { PostWizardButtons(PSWIZB_BACK); }
