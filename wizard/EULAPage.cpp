#include "wizard/EULAPage.h"

#include "res/resource.h"

IMPLEMENT_DYNAMIC(CEULAPage, CBasePage)

CEULAPage::CEULAPage() : CBasePage(IDD_EULA, IDS_EULA_TITLE, IDS_EULA_SUBTITLE) {}
