#include "robot/MessageBoxWindow.h"

#include <algorithm>

#include "robot/Control.h"
#include "robot/Sheet.h"

namespace robot {

bool IsMessageBox(HWND window) {
  return IsVisible(window) && ClassOf(window) == L"#32770" &&
         Child(window, kMessageTextId) != nullptr && !IsPropertySheet(window);
}

std::vector<MessageBoxWindow> MessageBoxWindow::All(DWORD pid) {
  std::vector<MessageBoxWindow> boxes;
  for (HWND window : TopLevelWindows(pid)) {
    if (IsMessageBox(window)) boxes.emplace_back(window);
  }
  return boxes;
}

std::optional<MessageBoxWindow> MessageBoxWindow::Find(DWORD pid, Duration timeout) {
  std::optional<MessageBoxWindow> found;
  WaitUntil(
      [&] {
        const auto boxes = All(pid);
        if (!boxes.empty()) found = boxes.front();
        return found.has_value();
      },
      timeout);
  return found;
}

bool MessageBoxWindow::IsOpen() const { return IsWindow(m_window) && IsWindowVisible(m_window); }

std::wstring MessageBoxWindow::Text() const { return TextOf(Child(m_window, kMessageTextId)); }

std::wstring MessageBoxWindow::Caption() const { return TextOf(m_window); }

StandardIcon MessageBoxWindow::Icon() const { return IdentifyIcon(IconControlOf(m_window)); }

std::vector<int> MessageBoxWindow::Buttons() const {
  std::vector<int> ids;
  for (HWND child : Children(m_window)) {
    const int id = GetDlgCtrlID(child);
    if (ClassOf(child) == L"Button" && IsVisible(child) && id != kMessageTextId) ids.push_back(id);
  }
  std::sort(ids.begin(), ids.end());
  return ids;
}

HWND MessageBoxWindow::Owner() const { return OwnerOf(m_window); }

bool MessageBoxWindow::Answer(int buttonId, Duration timeout) const {
  // Posted: the box's modal loop may still be busy when the robot clicks.
  if (!PostClick(Child(m_window, buttonId))) return false;
  return WaitUntil([this] { return !IsOpen(); }, timeout);
}

}  // namespace robot
