#include "robot/Control.h"

namespace robot {

std::optional<LRESULT> Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                            Duration timeout) {
  DWORD_PTR result = 0;
  if (!window || !SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG,
                                      static_cast<UINT>(Scaled(timeout).count()), &result)) {
    return std::nullopt;
  }
  return static_cast<LRESULT>(result);
}

HWND Child(HWND parent, int controlId) { return parent ? GetDlgItem(parent, controlId) : nullptr; }

std::wstring TextOf(HWND window) {
  const auto length = Send(window, WM_GETTEXTLENGTH);
  if (!length || *length <= 0) return {};
  std::wstring text(static_cast<size_t>(*length) + 1, L'\0');
  const auto copied = Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied ? static_cast<size_t>(*copied) : 0);
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = L"";
  if (window) GetClassNameW(window, name, 256);
  return name;
}

DWORD ProcessOf(HWND window) {
  DWORD pid = 0;
  if (window) GetWindowThreadProcessId(window, &pid);
  return pid;
}

bool IsVisible(HWND window) { return window && IsWindowVisible(window); }
bool IsEnabled(HWND window) { return window && IsWindowEnabled(window); }

bool IsOperable(HWND control) {
  return IsVisible(control) && IsEnabled(control) && IsEnabled(GetAncestor(control, GA_ROOT));
}

int CheckState(HWND button) { return static_cast<int>(Send(button, BM_GETCHECK).value_or(-1)); }

LONG_PTR StyleOf(HWND window) { return window ? GetWindowLongPtrW(window, GWL_STYLE) : 0; }
LONG_PTR ExStyleOf(HWND window) { return window ? GetWindowLongPtrW(window, GWL_EXSTYLE) : 0; }

RECT ScreenRectOf(HWND window) {
  RECT rect{};
  if (window) GetWindowRect(window, &rect);
  return rect;
}

HWND OwnerOf(HWND window) { return window ? GetWindow(window, GW_OWNER) : nullptr; }

bool Click(HWND button) {
  // A click may move the wizard to another page, which takes a while under Wine.
  return IsOperable(button) && Send(button, BM_CLICK, 0, 0, Duration{30000}).has_value();
}

bool PostClick(HWND button) { return IsOperable(button) && PostMessageW(button, BM_CLICK, 0, 0); }

bool PostKey(HWND topLevel, UINT virtualKey) {
  if (!topLevel) return false;
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  HWND target = topLevel;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(topLevel, nullptr), &info) && info.hwndFocus) {
    target = info.hwndFocus;
  }
  const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
  const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
  const LPARAM up = down | (LPARAM{1} << 30) | (LPARAM{1} << 31);
  return PostMessageW(target, WM_KEYDOWN, virtualKey, down) &&
         PostMessageW(target, WM_KEYUP, virtualKey, up);
}

namespace {

struct TopLevelQuery {
  DWORD pid;
  const wchar_t* className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM context) {
  auto& query = *reinterpret_cast<TopLevelQuery*>(context);
  if (ProcessOf(window) == query.pid && IsWindowVisible(window) &&
      (!query.className || ClassOf(window) == query.className)) {
    query.found.push_back(window);
  }
  return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD pid, const wchar_t* className) {
  TopLevelQuery query{pid, className, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = parent ? GetWindow(parent, GW_CHILD) : nullptr; child;
       child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

}  // namespace robot
