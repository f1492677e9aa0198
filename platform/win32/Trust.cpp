// WinTrust and CryptoAPI: the Authenticode policy and the signer's certificate.

#include "platform/Trust.h"

#include <windows.h>
// After windows.h:
#include <wincrypt.h>
#include <wintrust.h>

namespace {

// WINTRUST_ACTION_GENERIC_VERIFY_V2, the published Authenticode policy.
GUID kGenericVerifyV2 = {
    0x00AAC56B, 0xCD44, 0x11D0, {0x8C, 0xC2, 0x00, 0xC0, 0x4F, 0xC2, 0x95, 0xEE}};

// The structure as it was before its signature-settings member: 48 bytes on 32-bit
// Windows, which every version accepts.
#ifndef _WIN64
static_assert(sizeof(WINTRUST_DATA) == 48, "WINTRUST_DATA without pSignatureSettings");
#endif

template <typename T>
T FromHandle(uintptr_t value) {
  return reinterpret_cast<T>(value);
}

const wchar_t* Wide(const char16_t* path) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t");
  return reinterpret_cast<const wchar_t*>(path);
}

// What the first check of a process costs beyond the later ones is mostly the opening of
// the root store (measured under Wine: first check 80 ms, 13 ms once the store had been
// opened and closed), which the system keeps for the process afterwards.
DWORD WINAPI WarmUpTrustProvider(LPVOID) {
  HCERTSTORE root = CertOpenSystemStoreW(0, L"ROOT");
  if (root != nullptr) CertCloseStore(root, 0);
  return 0;
}

class Win32Trust final : public Trust {
 public:
  bool FileExists(const char* path) override {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
  }

  bool WidenPath(const char* path, char16_t* wide, int units) override {
    return MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, path, -1, reinterpret_cast<wchar_t*>(wide),
                               units) != 0;
  }

  int32_t VerifyTrust(const char16_t* widePath) override {
    WINTRUST_FILE_INFO file = {};
    file.cbStruct = sizeof file;
    file.pcwszFilePath = Wide(widePath);
    file.hFile = nullptr;
    file.pgKnownSubject = nullptr;

    WINTRUST_DATA data = {};
    data.cbStruct = sizeof data;
    data.pPolicyCallbackData = nullptr;
    data.pSIPClientData = nullptr;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &file;
    // No state is kept, so no closing call follows.
    data.dwStateAction = WTD_STATEACTION_IGNORE;
    data.hWVTStateData = nullptr;
    data.pwszURLReference = nullptr;
    data.dwProvFlags = WTD_SAFER_FLAG;
    data.dwUIContext = WTD_UICONTEXT_EXECUTE;
    return WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &kGenericVerifyV2, &data);
  }

  bool QueryEmbeddedSignature(const char16_t* widePath, CertStore& store,
                              CryptMessage& message) override {
    DWORD encoding = 0;
    DWORD contentType = 0;
    DWORD formatType = 0;
    HCERTSTORE nativeStore = nullptr;
    HCRYPTMSG nativeMessage = nullptr;
    if (!CryptQueryObject(CERT_QUERY_OBJECT_FILE, Wide(widePath),
                          CERT_QUERY_CONTENT_FLAG_PKCS7_SIGNED_EMBED, CERT_QUERY_FORMAT_FLAG_BINARY,
                          0, &encoding, &contentType, &formatType, &nativeStore, &nativeMessage,
                          nullptr)) {
      return false;
    }
    store = static_cast<CertStore>(reinterpret_cast<uintptr_t>(nativeStore));
    message = static_cast<CryptMessage>(reinterpret_cast<uintptr_t>(nativeMessage));
    return true;
  }

  bool GetSignerInfo(CryptMessage message, void* buffer, uint32_t& size) override {
    DWORD length = size;
    if (!CryptMsgGetParam(FromHandle<HCRYPTMSG>(static_cast<uintptr_t>(message)),
                          CMSG_SIGNER_INFO_PARAM, 0, buffer, &length)) {
      return false;
    }
    size = length;
    return true;
  }

  void* AllocateZeroed(uint32_t size) override { return LocalAlloc(LPTR, size); }

  void FreeMemory(void* block) override { LocalFree(block); }

  CertContext FindSignerCertificate(CertStore store, const void* signerInfo) override {
    const auto* signer = static_cast<const CMSG_SIGNER_INFO*>(signerInfo);
    CERT_INFO wanted = {};
    wanted.Issuer = signer->Issuer;
    wanted.SerialNumber = signer->SerialNumber;
    PCCERT_CONTEXT certificate = CertFindCertificateInStore(
        FromHandle<HCERTSTORE>(static_cast<uintptr_t>(store)),
        X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0, CERT_FIND_SUBJECT_CERT, &wanted, nullptr);
    return static_cast<CertContext>(reinterpret_cast<uintptr_t>(certificate));
  }

  uint32_t GetDisplayName(CertContext certificate, char* buffer, uint32_t size) override {
    return CertGetNameStringA(FromHandle<PCCERT_CONTEXT>(static_cast<uintptr_t>(certificate)),
                              CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, buffer, size);
  }

  void FreeCertificate(CertContext certificate) override {
    CertFreeCertificateContext(FromHandle<PCCERT_CONTEXT>(static_cast<uintptr_t>(certificate)));
  }

  void CloseStore(CertStore store) override {
    CertCloseStore(FromHandle<HCERTSTORE>(static_cast<uintptr_t>(store)), 0);
  }

  void CloseMessage(CryptMessage message) override {
    CryptMsgClose(FromHandle<HCRYPTMSG>(static_cast<uintptr_t>(message)));
  }

  void WarmUp() override {
    if (InterlockedExchange(&m_warmUpStarted, 1) != 0) return;
    HANDLE thread = CreateThread(nullptr, 0, &WarmUpTrustProvider, nullptr, 0, nullptr);
    if (thread != nullptr) CloseHandle(thread);
  }

 private:
  LONG m_warmUpStarted = 0;
};

}  // namespace

Trust& SystemTrust() {
  static Win32Trust trust;
  return trust;
}
