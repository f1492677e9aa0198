#pragma once
// Reading and operating one window of another process, the way a user would see it.
// Every message goes through SendMessageTimeout, so a hung program fails a test rather
// than hanging it; WM_GETTEXT is marshalled by the system and returns correct Unicode
// even from an ANSI window.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "robot/Wait.h"

namespace robot {

// How long a single sent message may take before the robot gives up on it.
inline constexpr Duration kSendTimeout{5000};

// Sends a message with a timeout; nothing if the window did not answer in time.
std::optional<LRESULT> Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                            Duration timeout = kSendTimeout);

HWND Child(HWND parent, int controlId);  // a direct child by control id, or null
std::wstring TextOf(HWND window);        // WM_GETTEXT; empty for a null window
std::wstring ClassOf(HWND window);
DWORD ProcessOf(HWND window);

bool IsVisible(HWND window);  // the window and all its ancestors are visible
bool IsEnabled(HWND window);
// Whether a user could operate the control: it is visible, it is enabled, and so is
// the top-level window it belongs to (a modal box disables its owner).
bool IsOperable(HWND control);
int CheckState(HWND button);  // BM_GETCHECK: BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE
LONG_PTR StyleOf(HWND window);
LONG_PTR ExStyleOf(HWND window);
RECT ScreenRectOf(HWND window);  // GetWindowRect
HWND OwnerOf(HWND window);       // GetWindow(GW_OWNER)

// Clicks a button as the user would: refuses (false) when the button is not operable.
// Click waits until the program has handled the click; PostClick does not wait and is
// the one to use when the click opens a modal box (otherwise the robot waits for the
// box to close and deadlocks).
bool Click(HWND button);
bool PostClick(HWND button);

// Posts a key press (down and up) to the window that has the keyboard focus in the
// thread of `topLevel` (or to `topLevel` itself when none has), as a keyboard would.
bool PostKey(HWND topLevel, UINT virtualKey);

// Visible top-level windows of class `className` that belong to process `pid`.
std::vector<HWND> TopLevelWindows(DWORD pid, const wchar_t* className = L"#32770");
std::vector<HWND> Children(HWND parent);  // direct children, in z-order

}  // namespace robot
