#pragma once
// The wizard: a visible top-level property sheet (#32770 with a tab control) of the
// program under test, with its page list and its own buttons.
//
// Pages that have not been shown yet have no window (PSM_INDEXTOHWND gives null), so
// the page list is read from the sheet's (hidden) tab control and from the template id
// of each page (PSM_INDEXTOID).

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "robot/Wait.h"

namespace robot {

// The sheet's own buttons.
inline constexpr int kBack = 0x3023;
inline constexpr int kNext = 0x3024;
inline constexpr int kFinish = 0x3025;
inline constexpr int kCancel = IDCANCEL;
inline constexpr int kHelp = IDHELP;

bool IsPropertySheet(HWND window);

class Sheet {
 public:
  explicit Sheet(HWND window) : m_window(window) {}

  // The sheet of process `pid`, once it shows within `timeout`.
  static std::optional<Sheet> Find(DWORD pid, Duration timeout = kDefaultTimeout);

  HWND Handle() const { return m_window; }
  bool IsOpen() const;  // the window exists and is visible
  bool IsEnabled() const;
  std::wstring Caption() const;

  // The page list.
  int PageCount() const;                 // -1 if the sheet does not answer
  HWND CurrentPage() const;              // PSM_GETCURRENTPAGEHWND
  int CurrentIndex() const;              // -1 if unknown
  int TemplateAt(int index) const;       // dialog template id, 0 if unknown
  std::vector<int> PageTemplates() const;
  HWND PageAt(int index) const;          // null for a page not shown yet

  // Controls. Button: one of the sheet's own (kBack ...); Control: on the current page.
  HWND Button(int id) const;
  HWND Control(int id) const;
  // The ids among Back, Next, Finish, Cancel and Help that are visible, in that order.
  std::vector<int> VisibleButtons() const;

  // Clicks as a user would (false when the control is hidden or disabled). Use the Post
  // forms when the click opens a modal box.
  bool ClickButton(int id) const;
  bool PostClickButton(int id) const;
  bool Click(int controlId) const;
  bool PostClick(int controlId) const;
  // Posts PSM_PRESSBUTTON (PSBTN_BACK, PSBTN_NEXT, ...), the way the pages press the
  // sheet's buttons; it works while the button itself is hidden.
  bool PressButton(int psbtn) const;
  // The window's Close command (WM_SYSCOMMAND SC_CLOSE), posted.
  bool Close() const;
  // A key press to the focused control of the sheet (e.g. VK_ESCAPE).
  bool PressKey(UINT virtualKey) const;

  // Waits until the current page holds control `controlId` (pages are told apart by a
  // control of their own).
  bool WaitForPageWith(int controlId, Duration timeout = kDefaultTimeout) const;
  // Waits until the sheet's window is gone.
  bool WaitForClose(Duration timeout = kDefaultTimeout) const;

 private:
  HWND m_window;
};

}  // namespace robot
