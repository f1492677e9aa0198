#pragma once
// Our thin stand-in for the parts of the old application framework that Pellory's pages
// use: run-time class records, message maps, windows, controls and data exchange.
// Windows are Unicode (the W functions), so the Japanese texts show on every system.

#include <windows.h>
// After windows.h:
#include <commctrl.h>

#include <string>

using CString = std::wstring;

// Run-time class record: the class name and its base.
struct CRuntimeClass {
  const char* m_lpszClassName;
  const CRuntimeClass* m_pBaseClass;
};

// clang-format off
#define DECLARE_DYNAMIC(class_name) \
 public:                            \
  static const CRuntimeClass class##class_name; \
  const CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                   \
  const CRuntimeClass class_name::class##class_name = {#class_name,                      \
                                                       &base_class_name::class##base_class_name}; \
  const CRuntimeClass* class_name::GetRuntimeClass() const { return &class##class_name; }

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
  static const CRuntimeClass classCWnd;
  virtual ~CWnd() = default;
  virtual const CRuntimeClass* GetRuntimeClass() const { return &classCWnd; }
  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const { return GetThisMessageMap(); }

  HWND GetSafeHwnd() const { return m_hWnd; }
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  void SetDlgItemText(int id, const CString& text) { ::SetDlgItemTextW(m_hWnd, id, text.c_str()); }
  BOOL ShowWindow(int show) { return ::ShowWindow(m_hWnd, show); }
  BOOL PostMessage(UINT msg, WPARAM wp, LPARAM lp) { return ::PostMessageW(m_hWnd, msg, wp, lp); }

  // Runs the handler that the message map gives for a control notification.
  bool DispatchCommand(UINT id, UINT code);

  HWND m_hWnd = nullptr;
};

class CButton : public CWnd {
 public:
  int GetCheck() const { return static_cast<int>(::SendMessageA(m_hWnd, BM_GETCHECK, 0, 0)); }
  void SetCheck(int state) { ::SendMessageA(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(state), 0); }
};
class CStatic : public CWnd {};
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

// Data exchange between a page's members and its controls.
class CDataExchange {
 public:
  CDataExchange(CWnd* dlg, bool save) : m_pDlgWnd(dlg), m_bSaveAndValidate(save) {}
  CWnd* m_pDlgWnd;
  bool m_bSaveAndValidate;
};
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
void DDX_Text(CDataExchange* pDX, int id, CString& value);
