#pragma once
// WinINet, and the owner of its handles.

#include <windows.h>
// After windows.h:
#include <wininet.h>

#include "platform/win32/UniqueHandle.h"

using UniqueInternet = UniqueHandle<HINTERNET, InternetCloseHandle>;
