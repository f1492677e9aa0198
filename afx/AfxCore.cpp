#include "afx/AfxCore.h"

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}

bool CWnd::DispatchCommand(UINT id, UINT code) {
  for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
       map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn != nullptr; ++e) {
      if (e->nID == id && e->nCode == code) {
        (this->*(e->pfn))();
        return true;
      }
    }
  }
  return false;
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
  // Always bind anew: a page removed from the sheet gets a new window, with new controls,
  // when it is added again.
  control.m_hWnd = pDX->m_pDlgWnd->GetDlgItem(id);
}
