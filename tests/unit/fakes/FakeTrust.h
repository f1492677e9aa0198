#pragma once
// The Authenticode policy and certificate calls, scripted: each step can be made to
// fail, and every object handed out is tracked so that a test sees what was not released
// and in which order things were released.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/Trust.h"

class FakeTrust : public Trust {
 public:
  // The script. By default: a present file, trusted, signed by the required publisher.
  bool exists = true;
  bool failWiden = false;
  int32_t trustVerdict = 0;  // e.g. TRUST_E_NOSIGNATURE, CERT_E_UNTRUSTEDROOT
  bool failQuery = false;
  bool failSignerInfoSize = false;
  bool failSignerInfo = false;
  int failAllocation = -1;  // index of the allocation that fails (0 = signer information)
  bool certificateMissing = false;
  bool failNameLength = false;
  bool failName = false;
  std::string displayName = "Morvane Corporation";
  std::function<void()> onExists;  // runs when the check first looks at the file

  bool FileExists(const char* path) override {
    calls.push_back("exists");
    lastPath = path;
    if (onExists) onExists();
    return exists;
  }
  bool WidenPath(const char* path, char16_t* wide, int units) override {
    calls.push_back("widen");
    if (failWiden) return false;
    for (int i = 0; i < units; ++i) {
      wide[i] = static_cast<unsigned char>(path[i]);
      if (path[i] == '\0') return true;
    }
    return false;
  }
  int32_t VerifyTrust(const char16_t*) override {
    calls.push_back("trust");
    return trustVerdict;
  }
  bool QueryEmbeddedSignature(const char16_t*, CertStore& store, CryptMessage& message) override {
    calls.push_back("query");
    if (failQuery) return false;
    store = kStore;
    message = kMessage;
    live.insert("store");
    live.insert("message");
    return true;
  }
  bool GetSignerInfo(CryptMessage message, void* buffer, uint32_t& size) override {
    EXPECT_EQ(message, kMessage);
    if (buffer == nullptr) {
      if (failSignerInfoSize) return false;
      size = kSignerInfoSize;
      return true;
    }
    EXPECT_EQ(size, kSignerInfoSize);
    if (failSignerInfo) return false;
    std::memset(buffer, 0x5A, size);
    return true;
  }
  void* AllocateZeroed(uint32_t size) override {
    if (allocations++ == failAllocation) return nullptr;
    void* block = ::operator new(size);
    std::memset(block, 0, size);
    m_blocks.insert(block);
    return block;
  }
  void FreeMemory(void* block) override {
    EXPECT_EQ(m_blocks.erase(block), 1u) << "freed a block it did not allocate";
    released.push_back("memory");
    ::operator delete(block);
  }
  CertContext FindSignerCertificate(CertStore store, const void* signerInfo) override {
    EXPECT_EQ(store, kStore);
    EXPECT_EQ(*static_cast<const unsigned char*>(signerInfo), 0x5A) << "signer info not read";
    if (certificateMissing) return CertContext::None;
    live.insert("certificate");
    return kCertificate;
  }
  uint32_t GetDisplayName(CertContext certificate, char* buffer, uint32_t size) override {
    EXPECT_EQ(certificate, kCertificate);
    const uint32_t needed = static_cast<uint32_t>(displayName.size() + 1);
    if (buffer == nullptr) return failNameLength ? 0 : needed;
    if (failName || size < needed) return 0;
    std::memcpy(buffer, displayName.data(), needed);  // embedded NULs included
    return needed;
  }
  void FreeCertificate(CertContext certificate) override {
    EXPECT_EQ(certificate, kCertificate);
    live.erase("certificate");
    released.push_back("certificate");
  }
  void CloseStore(CertStore store) override {
    EXPECT_EQ(store, kStore);
    live.erase("store");
    released.push_back("store");
  }
  void CloseMessage(CryptMessage message) override {
    EXPECT_EQ(message, kMessage);
    live.erase("message");
    released.push_back("message");
  }

  // Objects and memory blocks not yet released.
  size_t Outstanding() const { return live.size() + m_blocks.size(); }

  static constexpr CertStore kStore = static_cast<CertStore>(0x51);
  static constexpr CryptMessage kMessage = static_cast<CryptMessage>(0x52);
  static constexpr CertContext kCertificate = static_cast<CertContext>(0x53);
  static constexpr uint32_t kSignerInfoSize = 96;

  std::vector<std::string> calls;
  std::vector<std::string> released;
  std::set<std::string> live;
  std::string lastPath;
  int allocations = 0;

 private:
  std::set<void*> m_blocks;
};
