// WinTrust and CryptoAPI: the Authenticode policy and the signer's certificate.

#include "platform/Trust.h"

#include <windows.h>
// After windows.h:
#include <wincrypt.h>
#include <wintrust.h>

#include <algorithm>

#include "platform/Files.h"
#include "platform/win32/UniqueHandle.h"

namespace {

// WINTRUST_ACTION_GENERIC_VERIFY_V2, the published Authenticode policy.
GUID kGenericVerifyV2 = {
    0x00AAC56B, 0xCD44, 0x11D0, {0x8C, 0xC2, 0x00, 0xC0, 0x4F, 0xC2, 0x95, 0xEE}};

// The structure as it was before its signature-settings member: 48 bytes on 32-bit
// Windows, which every version accepts.
#ifndef _WIN64
static_assert(sizeof(WINTRUST_DATA) == 48, "WINTRUST_DATA without pSignatureSettings");
#endif

using WidePath = wchar_t[kPathCapacity];

bool Widen(const char* path, WidePath& wide) {
  return MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, path, -1, wide, kPathCapacity) != 0;
}

TrustVerdict StoppedAt(TrustStep step) { return {step, 0, {}}; }

void CloseStore(HCERTSTORE store) { CertCloseStore(store, 0); }

class Win32Trust final : public Trust {
 public:
  bool FileExists(const char* path) override {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
  }

  TrustVerdict VerifyTrust(const char* path) override {
    WidePath widePath = {};
    if (!Widen(path, widePath)) return StoppedAt(TrustStep::PathNotConverted);
    WINTRUST_FILE_INFO file = {};
    file.cbStruct = sizeof file;
    file.pcwszFilePath = widePath;

    WINTRUST_DATA data = {};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &file;
    // No state is kept, so no closing call follows.
    data.dwStateAction = WTD_STATEACTION_IGNORE;
    data.dwProvFlags = WTD_SAFER_FLAG;
    data.dwUIContext = WTD_UICONTEXT_EXECUTE;
    return {TrustStep::Answered,
            WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &kGenericVerifyV2, &data),
            {}};
  }

  TrustVerdict ReadSigner(const char* path) override {
    WidePath widePath = {};
    if (!Widen(path, widePath)) return StoppedAt(TrustStep::PathNotConverted);
    // Declared in the reverse of their release: the two memory blocks, then the certificate
    // before the store it was found in, then the store before the message it came with.
    UniqueHandle<HCRYPTMSG, CryptMsgClose> message;
    UniqueHandle<HCERTSTORE, CloseStore> store;
    UniqueHandle<PCCERT_CONTEXT, CertFreeCertificateContext> certificate;
    UniqueLocalMemory signerMemory;
    UniqueLocalMemory nameMemory;
    DWORD encoding = 0;
    DWORD contentType = 0;
    DWORD formatType = 0;
    if (!CryptQueryObject(CERT_QUERY_OBJECT_FILE, widePath,
                          CERT_QUERY_CONTENT_FLAG_PKCS7_SIGNED_EMBED, CERT_QUERY_FORMAT_FLAG_BINARY,
                          0, &encoding, &contentType, &formatType, store.Put(), message.Put(),
                          nullptr)) {
      return StoppedAt(TrustStep::NoEmbeddedSignature);
    }

    DWORD infoSize = 0;
    if (!CryptMsgGetParam(message.Get(), CMSG_SIGNER_INFO_PARAM, 0, nullptr, &infoSize)) {
      return StoppedAt(TrustStep::SignerInfoSizeUnreadable);
    }
    signerMemory.Reset(LocalAlloc(LPTR, infoSize));
    auto* const signer = static_cast<CMSG_SIGNER_INFO*>(signerMemory.Get());
    if (signer == nullptr) return StoppedAt(TrustStep::SignerInfoNoMemory);
    if (!CryptMsgGetParam(message.Get(), CMSG_SIGNER_INFO_PARAM, 0, signer, &infoSize)) {
      return StoppedAt(TrustStep::SignerInfoUnreadable);
    }

    CERT_INFO wanted = {};
    wanted.Issuer = signer->Issuer;
    wanted.SerialNumber = signer->SerialNumber;
    certificate.Reset(CertFindCertificateInStore(store.Get(),
                                                 X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0,
                                                 CERT_FIND_SUBJECT_CERT, &wanted, nullptr));
    if (!certificate) return StoppedAt(TrustStep::CertificateMissing);

    // The subject's name, not the issuer's; the length counts the terminator.
    const DWORD nameSize = CertGetNameStringA(certificate.Get(), CERT_NAME_SIMPLE_DISPLAY_TYPE, 0,
                                              nullptr, nullptr, 0);
    if (nameSize == 0) return StoppedAt(TrustStep::NameLengthUnreadable);
    nameMemory.Reset(LocalAlloc(LPTR, nameSize));
    auto* const name = static_cast<char*>(nameMemory.Get());
    if (name == nullptr) return StoppedAt(TrustStep::NameNoMemory);
    const DWORD written = CertGetNameStringA(certificate.Get(), CERT_NAME_SIMPLE_DISPLAY_TYPE, 0,
                                             nullptr, name, nameSize);
    if (written == 0) return StoppedAt(TrustStep::NameUnreadable);
    // Every byte the platform returned, not just up to a first NUL: a subject such as
    // "Morvane Corporation\0..." must not pass as the required name.
    return {TrustStep::Answered, 0, std::string(name, std::min(written, nameSize) - 1)};
  }
};

}  // namespace

Trust& SystemTrust() {
  static Win32Trust trust;
  return trust;
}
