#include "wizard/DownloadPage.h"

#include "res/resource.h"

IMPLEMENT_DYNAMIC(CDownloadPage, CBasePage)

CDownloadPage::CDownloadPage() : CBasePage(IDD_DOWNLOAD, IDS_DOWNLOAD_TITLE, IDS_DOWNLOAD_SUBTITLE) {}
