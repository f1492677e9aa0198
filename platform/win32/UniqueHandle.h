#pragma once
// One move-only owner for every kind of Win32 handle, and the casts between a native
// handle and the number the core keeps it as. Each kind names its handle type, the call
// that releases it and its invalid value (null unless given; files use
// INVALID_HANDLE_VALUE, all bits set). The kinds below need only windows.h; any other kind
// is declared where its API's header is included.

#include <windows.h>

#include <cstdint>
#include <type_traits>
#include <utility>

// The core holds a handle as an enum over uintptr_t, so that it never sees windows.h. Both
// directions keep every bit: INVALID_HANDLE_VALUE is the core's kInvalidFile and
// kInvalidFolder, null its None. HANDLE and HINTERNET are both void*.
template <typename Number>
void* ToNative(Number number) {
  static_assert(sizeof(Number) == sizeof(void*), "a handle number holds a handle");
  return reinterpret_cast<void*>(static_cast<uintptr_t>(number));
}
template <typename Number>
Number FromNative(void* handle) {
  static_assert(sizeof(Number) == sizeof(void*), "a handle number holds a handle");
  return static_cast<Number>(reinterpret_cast<uintptr_t>(handle));
}

template <typename HandleType, auto Close, intptr_t kInvalid = 0>
class UniqueHandle {
 public:
  using Handle = HandleType;

  UniqueHandle() noexcept : m_handle(Invalid()) {}
  explicit UniqueHandle(Handle handle) noexcept : m_handle(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  static Handle Invalid() noexcept {
    // CryptoAPI's handles are numbers, not pointers.
    if constexpr (std::is_pointer_v<Handle>)
      return reinterpret_cast<Handle>(kInvalid);
    else
      return static_cast<Handle>(kInvalid);
  }
  Handle Get() const noexcept { return m_handle; }
  explicit operator bool() const noexcept { return m_handle != Invalid(); }

  // Gives up ownership without releasing.
  Handle Release() noexcept { return std::exchange(m_handle, Invalid()); }

  void Reset(Handle handle = Invalid()) noexcept {
    const Handle old = std::exchange(m_handle, handle);
    if (old != Invalid()) Close(old);
  }

  // For APIs that return a handle through a pointer: releases the current one first.
  Handle* Put() noexcept {
    Reset();
    return &m_handle;
  }

 private:
  Handle m_handle;
};

// Kernel objects whose failure value is null: threads, processes, mutexes, events, tokens.
using UniqueKernelHandle = UniqueHandle<HANDLE, CloseHandle>;
using UniqueThread = UniqueKernelHandle;
using UniqueProcess = UniqueKernelHandle;
using UniqueFile = UniqueHandle<HANDLE, CloseHandle, -1>;
using UniqueRegKey = UniqueHandle<HKEY, RegCloseKey>;
// A security identifier built by AllocateAndInitializeSid.
using UniqueSid = UniqueHandle<PSID, FreeSid>;
// Memory the system allocated for the caller with LocalAlloc (descriptors, SID texts).
using UniqueLocalMemory = UniqueHandle<HLOCAL, LocalFree>;
using UniqueBitmap = UniqueHandle<HBITMAP, DeleteObject>;

// The process and thread handles of a started process (CreateProcess's PROCESS_INFORMATION).
struct UniqueProcessInformation {
  explicit UniqueProcessInformation(const PROCESS_INFORMATION& info) noexcept
      : process(info.hProcess), thread(info.hThread) {}
  UniqueProcess process;
  UniqueThread thread;
};
