#pragma once
// The Authenticode policy and the certificate calls that the signature check makes
// (WinTrust and CryptoAPI on Windows). Every object handed out is released by the
// caller through the matching call here.

#include <cstdint>

#include "platform/Files.h"

enum class CryptMessage : uintptr_t { None = 0 };
enum class CertStore : uintptr_t { None = 0 };
enum class CertContext : uintptr_t { None = 0 };

class Trust {
 public:
  virtual ~Trust() = default;

  // True when the path's attributes can be read (a directory counts).
  virtual bool FileExists(const char* path) = 0;
  // Converts a NUL-terminated path in the system ANSI code page to UTF-16.
  virtual bool WidenPath(const char* path, char16_t* wide, int units) = 0;
  // The Authenticode policy's verdict on the file's embedded signature: 0 is trusted.
  virtual int32_t VerifyTrust(const char16_t* widePath) = 0;
  // Opens the file's embedded PKCS #7 signature: its certificate store and message.
  virtual bool QueryEmbeddedSignature(const char16_t* widePath, CertStore& store,
                                      CryptMessage& message) = 0;
  // The first signer's information. With no buffer, size receives the size it needs.
  virtual bool GetSignerInfo(CryptMessage message, void* buffer, uint32_t& size) = 0;
  virtual void* AllocateZeroed(uint32_t size) = 0;
  virtual void FreeMemory(void* block) = 0;
  // The certificate in store with the issuer and serial number of signerInfo.
  virtual CertContext FindSignerCertificate(CertStore store, const void* signerInfo) = 0;
  // The subject's simple display name in the ANSI code page. With no buffer, returns
  // the length it needs, terminator included; 0 is a failure.
  virtual uint32_t GetDisplayName(CertContext certificate, char* buffer, uint32_t size) = 0;
  virtual void FreeCertificate(CertContext certificate) = 0;
  virtual void CloseStore(CertStore store) = 0;
  virtual void CloseMessage(CryptMessage message) = 0;
};

// The real trust provider of this system (Windows builds only).
Trust& SystemTrust();
