#pragma once
// One move-only owner for every kind of Win32 handle. Each kind names its handle type,
// its invalid value and how it is released. The kinds below need only windows.h; any
// other kind is declared beside its API's header (InternetHandle.h).

#include <windows.h>

#include <cstdint>
#include <utility>

// A kind: its handle type, the call that releases it, and its invalid value (null
// unless given; files use INVALID_HANDLE_VALUE, all bits set).
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

  static Handle Invalid() noexcept { return reinterpret_cast<Handle>(kInvalid); }
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
