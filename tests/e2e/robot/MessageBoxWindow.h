#pragma once
// A message box of the program under test: a visible top-level dialog (#32770) of its
// process that holds the message static (id 0xFFFF) and is not a property sheet.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "robot/StandardIcon.h"
#include "robot/Wait.h"

namespace robot {

inline constexpr int kMessageTextId = 0xFFFF;

// Whether `window` looks like a message box (see above).
bool IsMessageBox(HWND window);

class MessageBoxWindow {
 public:
  explicit MessageBoxWindow(HWND window) : m_window(window) {}

  // The first message box of process `pid` that shows up within `timeout`.
  static std::optional<MessageBoxWindow> Find(DWORD pid, Duration timeout = kDefaultTimeout);
  // All message boxes of process `pid` now (e.g. to show that there is none).
  static std::vector<MessageBoxWindow> All(DWORD pid);

  HWND Handle() const { return m_window; }
  bool IsOpen() const;  // the window still exists and is visible

  std::wstring Text() const;     // the message
  std::wstring Caption() const;  // the title bar
  StandardIcon Icon() const;
  // Ids of the visible buttons, ascending (IDOK 1 ... IDNO 7, IDTRYAGAIN 10 ...).
  std::vector<int> Buttons() const;
  HWND Owner() const;  // null for a box without owner window

  // Clicks button `buttonId` and waits until the box has gone; false if the button
  // cannot be clicked or the box stays.
  bool Answer(int buttonId, Duration timeout = kDefaultTimeout) const;

 private:
  HWND m_window;
};

}  // namespace robot
