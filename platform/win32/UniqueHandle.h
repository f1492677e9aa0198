#pragma once
// One move-only owner for every kind of Win32 handle. Each kind names its handle type,
// its invalid value and how it is released. The kinds below need only windows.h; any
// other kind is declared beside its API's header (InternetHandle.h).

#include <windows.h>

#include <utility>

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept : m_handle(Traits::Invalid()) {}
  explicit UniqueHandle(Handle handle) noexcept : m_handle(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  Handle Get() const noexcept { return m_handle; }
  explicit operator bool() const noexcept { return m_handle != Traits::Invalid(); }

  // Gives up ownership without releasing.
  Handle Release() noexcept { return std::exchange(m_handle, Traits::Invalid()); }

  void Reset(Handle handle = Traits::Invalid()) noexcept {
    const Handle old = std::exchange(m_handle, handle);
    if (old != Traits::Invalid()) Traits::Close(old);
  }

  // For APIs that return a handle through a pointer: releases the current one first.
  Handle* Put() noexcept {
    Reset();
    return &m_handle;
  }

 private:
  Handle m_handle;
};

namespace unique_handle_traits {

// Kernel objects whose failure value is null: threads, processes, mutexes, events.
struct Kernel {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { CloseHandle(handle); }
};

// Files, whose failure value is INVALID_HANDLE_VALUE.
struct File {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) noexcept { CloseHandle(handle); }
};

struct RegistryKey {
  using Handle = HKEY;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { RegCloseKey(handle); }
};

// A security identifier built by AllocateAndInitializeSid.
struct Sid {
  using Handle = PSID;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { FreeSid(handle); }
};

// Memory the system allocated for the caller with LocalAlloc (descriptors, SID texts).
struct LocalMemory {
  using Handle = HLOCAL;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { LocalFree(handle); }
};

template <typename GdiHandle>
struct GdiObject {
  using Handle = GdiHandle;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { DeleteObject(handle); }
};

}  // namespace unique_handle_traits

using UniqueKernelHandle = UniqueHandle<unique_handle_traits::Kernel>;
using UniqueThread = UniqueKernelHandle;
using UniqueProcess = UniqueKernelHandle;
using UniqueFile = UniqueHandle<unique_handle_traits::File>;
using UniqueRegKey = UniqueHandle<unique_handle_traits::RegistryKey>;
using UniqueSid = UniqueHandle<unique_handle_traits::Sid>;
using UniqueLocalMemory = UniqueHandle<unique_handle_traits::LocalMemory>;
using UniqueBitmap = UniqueHandle<unique_handle_traits::GdiObject<HBITMAP>>;

// The process and thread handles of a started process (CreateProcess's PROCESS_INFORMATION).
struct UniqueProcessInformation {
  explicit UniqueProcessInformation(const PROCESS_INFORMATION& info) noexcept
      : process(info.hProcess), thread(info.hThread) {}
  UniqueProcess process;
  UniqueThread thread;
};
