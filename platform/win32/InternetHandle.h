#pragma once
// WinINet, and the owner of its handles.

#include <windows.h>
// After windows.h:
#include <wininet.h>

#include "platform/win32/UniqueHandle.h"

namespace unique_handle_traits {
struct Internet {
  using Handle = HINTERNET;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { InternetCloseHandle(handle); }
};
}  // namespace unique_handle_traits

using UniqueInternet = UniqueHandle<unique_handle_traits::Internet>;
