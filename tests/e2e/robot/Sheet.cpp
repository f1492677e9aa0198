#include "robot/Sheet.h"

#include <commctrl.h>
#include <prsht.h>

#include "robot/Control.h"

namespace robot {

namespace {

HWND TabControlOf(HWND sheet) {
  return sheet ? FindWindowExW(sheet, nullptr, WC_TABCONTROLW, nullptr) : nullptr;
}

}  // namespace

bool IsPropertySheet(HWND window) {
  return IsVisible(window) && ClassOf(window) == L"#32770" && TabControlOf(window) != nullptr;
}

std::optional<Sheet> Sheet::Find(DWORD pid, Duration timeout) {
  std::optional<Sheet> found;
  WaitUntil(
      [&] {
        for (HWND window : TopLevelWindows(pid)) {
          if (IsPropertySheet(window)) found.emplace(window);
        }
        return found.has_value();
      },
      timeout);
  return found;
}

bool Sheet::IsOpen() const { return IsWindow(m_window) && IsWindowVisible(m_window); }
bool Sheet::IsEnabled() const { return robot::IsEnabled(m_window); }
std::wstring Sheet::Caption() const { return TextOf(m_window); }

int Sheet::PageCount() const {
  return static_cast<int>(Send(TabControlOf(m_window), TCM_GETITEMCOUNT).value_or(-1));
}

HWND Sheet::CurrentPage() const {
  return reinterpret_cast<HWND>(Send(m_window, PSM_GETCURRENTPAGEHWND).value_or(0));
}

int Sheet::CurrentIndex() const {
  HWND page = CurrentPage();
  if (!page) return -1;
  return static_cast<int>(
      Send(m_window, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page)).value_or(-1));
}

int Sheet::TemplateAt(int index) const {
  return static_cast<int>(Send(m_window, PSM_INDEXTOID, static_cast<WPARAM>(index)).value_or(0));
}

std::vector<int> Sheet::PageTemplates() const {
  std::vector<int> templates;
  for (int i = 0, count = PageCount(); i < count; ++i) templates.push_back(TemplateAt(i));
  return templates;
}

HWND Sheet::PageAt(int index) const {
  return reinterpret_cast<HWND>(
      Send(m_window, PSM_INDEXTOHWND, static_cast<WPARAM>(index)).value_or(0));
}

HWND Sheet::Button(int id) const { return Child(m_window, id); }
HWND Sheet::Control(int id) const { return Child(CurrentPage(), id); }

std::vector<int> Sheet::VisibleButtons() const {
  std::vector<int> visible;
  for (int id : {kBack, kNext, kFinish, kCancel, kHelp}) {
    if (IsVisible(Button(id))) visible.push_back(id);
  }
  return visible;
}

bool Sheet::ClickButton(int id) const { return robot::Click(Button(id)); }
bool Sheet::PostClickButton(int id) const { return robot::PostClick(Button(id)); }
bool Sheet::Click(int controlId) const { return robot::Click(Control(controlId)); }
bool Sheet::PostClick(int controlId) const { return robot::PostClick(Control(controlId)); }

bool Sheet::PressButton(int psbtn) const {
  return m_window && PostMessageW(m_window, PSM_PRESSBUTTON, static_cast<WPARAM>(psbtn), 0);
}

bool Sheet::Close() const { return m_window && PostMessageW(m_window, WM_SYSCOMMAND, SC_CLOSE, 0); }

bool Sheet::PressKey(UINT virtualKey) const { return PostKey(m_window, virtualKey); }

bool Sheet::WaitForPageWith(int controlId, Duration timeout) const {
  return WaitUntil([&] { return Control(controlId) != nullptr; }, timeout);
}

bool Sheet::WaitForClose(Duration timeout) const {
  return WaitUntil([&] { return !IsOpen(); }, timeout);
}

}  // namespace robot
