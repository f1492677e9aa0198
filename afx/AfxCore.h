#pragma once
// Our thin stand-in for the parts of the old application framework that Pellory's pages
// use: message maps, windows, controls and binding controls to a page's members.
// Windows are Unicode (the W functions), so the Japanese texts show on every system.

#include <windows.h>
// After windows.h:
#include <commctrl.h>

#include <string>

using CString = std::wstring;

class CWnd;

// A message map: {control id, notification, handler} rows, chained to the base class's map.
struct AFX_MSGMAP_ENTRY {
  UINT nID;
  UINT nCode;
  void (CWnd::*pfn)();
};
struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

// clang-format off
#define DECLARE_MESSAGE_MAP()                      \
 public:                                           \
  static const AFX_MSGMAP* GetThisMessageMap();    \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                   \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                              \
    typedef theClass ThisClass [[maybe_unused]];                                 \
    typedef baseClass TheBaseClass;                                              \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define ON_BN_CLICKED(id, memberFxn) \
  {id, BN_CLICKED, static_cast<void (CWnd::*)()>(&ThisClass::memberFxn)},
#define END_MESSAGE_MAP()                                                   \
  {0, 0, nullptr}};                                                         \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap,   \
                                        &_messageEntries[0]};               \
  return &messageMap;                                                       \
  }
// clang-format on

class CWnd {
 public:
  virtual ~CWnd() = default;
  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const { return GetThisMessageMap(); }

  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  void SetDlgItemText(int id, const CString& text) { ::SetDlgItemTextW(m_hWnd, id, text.c_str()); }
  BOOL ShowWindow(int show) { return ::ShowWindow(m_hWnd, show); }
  // Moves the focus on to the next tab stop once the messages queued before are handled.
  void PostNextDlgCtrl() { ::PostMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0); }

  bool DispatchCommand(UINT id, UINT code);

  HWND m_hWnd = nullptr;
};

class CButton : public CWnd {
 public:
  int GetCheck() const { return static_cast<int>(::SendMessageA(m_hWnd, BM_GETCHECK, 0, 0)); }
  void SetCheck(int state) { ::SendMessageA(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(state), 0); }
};
class CProgressCtrl : public CWnd {
 public:
  void SetPos(int pos) { ::SendMessageA(m_hWnd, PBM_SETPOS, static_cast<WPARAM>(pos), 0); }
  // Turns the bar into a marquee that advances every `interval` ms.
  void SetMarquee(int interval) {
    ::SetWindowLongA(m_hWnd, GWL_STYLE, ::GetWindowLongA(m_hWnd, GWL_STYLE) | PBS_MARQUEE);
    ::SendMessageA(m_hWnd, PBM_SETMARQUEE, TRUE, interval);
  }
};

// Icon `id` of the program's resources, shared: never destroyed.
inline HICON AfxLoadIcon(UINT id) {
  return ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
}

class CDataExchange {
 public:
  explicit CDataExchange(CWnd* dlg) : m_pDlgWnd(dlg) {}
  CWnd* m_pDlgWnd;
};
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
