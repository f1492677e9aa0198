#pragma once
// The wizard frame: a modal property sheet over the pages in its page list.

#include <vector>

#include "afx/AfxPropertyPage.h"

class CPropertySheet : public CWnd {
 public:
  // Owned by no window, starting at the first page, with no caption of its own.
  CPropertySheet();

  void AddPage(CPropertyPage* page);
  void RemovePage(int index);
  int GetPageCount() const { return static_cast<int>(m_pages.size()); }

  INT_PTR DoModal();

  PROPSHEETHEADERW m_psh;

 private:
  static int CALLBACK SheetCallback(HWND hwnd, UINT msg, LPARAM lp);
  std::vector<CPropertyPage*> m_pages;
};
