#pragma once
// CryptoAPI, and the owners of its certificate stores, messages and certificates.

#include <windows.h>
// After windows.h:
#include <wincrypt.h>

#include "platform/win32/UniqueHandle.h"

namespace unique_handle_traits {
struct CertificateStore {
  using Handle = HCERTSTORE;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { CertCloseStore(handle, 0); }
};

struct CryptMessage {
  using Handle = HCRYPTMSG;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { CryptMsgClose(handle); }
};

struct CertificateContext {
  using Handle = PCCERT_CONTEXT;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle handle) noexcept { CertFreeCertificateContext(handle); }
};
}  // namespace unique_handle_traits

using UniqueCertStore = UniqueHandle<unique_handle_traits::CertificateStore>;
using UniqueCryptMsg = UniqueHandle<unique_handle_traits::CryptMessage>;
using UniqueCertContext = UniqueHandle<unique_handle_traits::CertificateContext>;
