#include "wizard/CompletePage.h"

#include "res/resource.h"

IMPLEMENT_DYNAMIC(CCompletePage, CBasePage)

CCompletePage::CCompletePage() : CBasePage(IDD_COMPLETE, IDS_COMPLETE_TITLE, IDS_COMPLETE_SUBTITLE) {}
