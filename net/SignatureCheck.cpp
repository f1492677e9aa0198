#include "net/SignatureCheck.h"

#include <cstring>

#include "platform/Owner.h"

namespace {

// Each thing the signer check obtains goes back through the call the platform expects.
struct FreeBlock {
  Trust* trust = nullptr;
  void operator()(void* block) const { trust->FreeMemory(block); }
};
struct FreeCertificate {
  Trust* trust = nullptr;
  void operator()(CertContext certificate) const { trust->FreeCertificate(certificate); }
};
struct CloseStore {
  Trust* trust = nullptr;
  void operator()(CertStore store) const { trust->CloseStore(store); }
};
struct CloseMessage {
  Trust* trust = nullptr;
  void operator()(CryptMessage message) const { trust->CloseMessage(message); }
};

// Owners of what the platform handed out, when it handed anything out.
template <typename Release, typename Resource>
Owner<Resource, Release> Own(Trust& trust, Resource resource, Resource none) {
  return resource == none ? Owner<Resource, Release>()
                          : Owner<Resource, Release>(resource, Release{&trust});
}

int32_t ReadSigner(const char16_t* widePath, Trust& trust, std::string& name) {
  // Declared in the reverse order of release (name, signer information, certificate,
  // store, message), whichever way the check ends.
  CertStore rawStore = CertStore::None;
  CryptMessage rawMessage = CryptMessage::None;
  const bool queried = trust.QueryEmbeddedSignature(widePath, rawStore, rawMessage);
  const auto message = Own<CloseMessage>(trust, rawMessage, CryptMessage::None);
  const auto store = Own<CloseStore>(trust, rawStore, CertStore::None);
  Owner<CertContext, FreeCertificate> certificate;  // released after the signer information
  if (!queried) return SignatureNoEmbeddedSignature;
  uint32_t infoSize = 0;
  if (!trust.GetSignerInfo(message.Get(), nullptr, infoSize)) {
    return SignatureSignerInfoSizeUnreadable;
  }
  const auto signerInfo =
      Own<FreeBlock>(trust, trust.AllocateZeroed(infoSize), static_cast<void*>(nullptr));
  if (!signerInfo.IsOpen()) return SignatureSignerInfoNoMemory;
  if (!trust.GetSignerInfo(message.Get(), signerInfo.Get(), infoSize)) {
    return SignatureSignerInfoUnreadable;
  }
  certificate = Own<FreeCertificate>(
      trust, trust.FindSignerCertificate(store.Get(), signerInfo.Get()), CertContext::None);
  if (!certificate.IsOpen()) return SignatureSignerCertificateMissing;
  const uint32_t nameSize = trust.GetDisplayName(certificate.Get(), nullptr, 0);
  if (nameSize == 0) return SignatureNameLengthUnreadable;
  const auto nameBlock =
      Own<FreeBlock>(trust, trust.AllocateZeroed(nameSize), static_cast<void*>(nullptr));
  if (!nameBlock.IsOpen()) return SignatureNameNoMemory;
  char* const nameBytes = static_cast<char*>(nameBlock.Get());
  const uint32_t written = trust.GetDisplayName(certificate.Get(), nameBytes, nameSize);
  if (written == 0) return SignatureNameUnreadable;
  // Every byte the platform returned, not just up to a first NUL: a subject such as
  // "Morvane Corporation\0..." must not pass as the required name.
  name.assign(nameBytes, (written <= nameSize ? written : nameSize) - 1);
  return SignatureVerified;
}

}  // namespace

int32_t VerifyDownloadedFile(const char* path, Trust& trust) {
  if (path == nullptr) return SignatureNoPath;
  if (strnlen(path, kPathCapacity) >= kPathCapacity) return SignaturePathTooLong;
  if (!trust.FileExists(path)) return SignatureFileMissing;
  const int32_t trusted = VerifyFileTrust(path, trust);
  if (trusted != SignatureVerified) return trusted;
  return VerifyFileSigner(path, trust);
}

int32_t VerifyFileTrust(const char* path, Trust& trust) {
  int32_t verdict = 0;
  // The platform's reason for a refusal is dropped: any refusal is the same rejection.
  return VerifyFileTrust(path, trust, verdict);
}

int32_t VerifyFileTrust(const char* path, Trust& trust, int32_t& platformVerdict) {
  platformVerdict = 0;
  char16_t widePath[kPathCapacity] = {};
  if (!trust.WidenPath(path, widePath, static_cast<int>(kPathCapacity))) {
    return SignatureTrustPathNotConverted;
  }
  platformVerdict = trust.VerifyTrust(widePath);
  return platformVerdict == 0 ? SignatureVerified : SignatureNotTrusted;
}

int32_t VerifyFileSigner(const char* path, Trust& trust) {
  std::string name;
  const int32_t code = ReadFileSignerName(path, trust, name);
  if (code != SignatureVerified) return code;
  return IsRequiredSigner(name) ? SignatureVerified : SignatureWrongSigner;
}

int32_t ReadFileSignerName(const char* path, Trust& trust, std::string& name) {
  name.clear();
  char16_t widePath[kPathCapacity] = {};
  if (!trust.WidenPath(path, widePath, static_cast<int>(kPathCapacity))) {
    return SignatureSignerPathNotConverted;
  }
  return ReadSigner(widePath, trust, name);
}

bool IsRequiredSigner(const std::string& name) {
  // A longer name or another letter case is a mismatch too.
  return name.size() == sizeof kRequiredSigner - 1 &&
         std::memcmp(name.data(), kRequiredSigner, name.size()) == 0;
}
