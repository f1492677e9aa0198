#include "wizard/CustomInstPage.h"

#include "res/resource.h"

IMPLEMENT_DYNAMIC(CCustomInstPage, CBasePage)

CCustomInstPage::CCustomInstPage() : CBasePage(IDD_CUSTOM_INST, IDS_CUSTOM_TITLE, IDS_CUSTOM_SUBTITLE) {}
