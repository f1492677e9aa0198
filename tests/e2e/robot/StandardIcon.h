#pragma once
// Which of the system's standard icons a message box shows.
//
// The icon handle cannot be compared across processes: under Wine each process loads
// the shared icons under handles of its own, and GetIconInfo refuses another process's
// icon (ERROR_INVALID_CURSOR_HANDLE). So the robot compares pixels instead: it captures
// the icon control from the screen and matches it against each standard icon drawn by
// the robot over the same background. The icon control is found by its style (SS_ICON),
// not by id: Windows gives it id 0x14, Wine 0x440.

#include <windows.h>

#include <ostream>

#include "robot/Wait.h"

namespace robot {

enum class StandardIcon { None, Exclamation, Question, Error, Information, Unknown };

const char* NameOf(StandardIcon icon);
inline std::ostream& operator<<(std::ostream& out, StandardIcon icon) { return out << NameOf(icon); }

// The SS_ICON static among the direct children of `dialog`, or null.
HWND IconControlOf(HWND dialog);

// The standard icon shown by `iconControl`: None when there is no visible icon control
// or it holds no icon; Unknown when the picture matches no standard icon (also while it
// is not yet painted, so this polls until `timeout`).
StandardIcon IdentifyIcon(HWND iconControl, Duration timeout = Duration{3000});

}  // namespace robot
