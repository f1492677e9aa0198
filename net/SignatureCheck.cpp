#include "net/SignatureCheck.h"

#include <cstring>

namespace {

constexpr size_t kMaxPathBytes = 260;

// Everything VerifyFileSigner obtains, released in the order the platform expects
// whichever way the check ends.
class SignerResources {
 public:
  explicit SignerResources(Trust& trust) : m_trust(trust) {}
  SignerResources(const SignerResources&) = delete;
  SignerResources& operator=(const SignerResources&) = delete;
  ~SignerResources() {
    if (name != nullptr) m_trust.FreeMemory(name);
    if (signerInfo != nullptr) m_trust.FreeMemory(signerInfo);
    if (certificate != CertContext::None) m_trust.FreeCertificate(certificate);
    if (store != CertStore::None) m_trust.CloseStore(store);
    if (message != CryptMessage::None) m_trust.CloseMessage(message);
  }

  char* name = nullptr;
  void* signerInfo = nullptr;
  CertContext certificate = CertContext::None;
  CertStore store = CertStore::None;
  CryptMessage message = CryptMessage::None;

 private:
  Trust& m_trust;
};

int32_t ReadSigner(const char16_t* widePath, Trust& trust, SignerResources& held,
                   std::string& name) {
  if (!trust.QueryEmbeddedSignature(widePath, held.store, held.message)) {
    return SignatureNoEmbeddedSignature;
  }
  uint32_t infoSize = 0;
  if (!trust.GetSignerInfo(held.message, nullptr, infoSize)) {
    return SignatureSignerInfoSizeUnreadable;
  }
  held.signerInfo = trust.AllocateZeroed(infoSize);
  if (held.signerInfo == nullptr) return SignatureSignerInfoNoMemory;
  if (!trust.GetSignerInfo(held.message, held.signerInfo, infoSize)) {
    return SignatureSignerInfoUnreadable;
  }
  held.certificate = trust.FindSignerCertificate(held.store, held.signerInfo);
  if (held.certificate == CertContext::None) return SignatureSignerCertificateMissing;
  const uint32_t nameSize = trust.GetDisplayName(held.certificate, nullptr, 0);
  if (nameSize == 0) return SignatureNameLengthUnreadable;
  held.name = static_cast<char*>(trust.AllocateZeroed(nameSize));
  if (held.name == nullptr) return SignatureNameNoMemory;
  const uint32_t written = trust.GetDisplayName(held.certificate, held.name, nameSize);
  if (written == 0) return SignatureNameUnreadable;
  // Every byte the platform returned, not just up to a first NUL: a subject such as
  // "Morvane Corporation\0..." must not pass as the required name.
  name.assign(held.name, (written <= nameSize ? written : nameSize) - 1);
  return SignatureVerified;
}

}  // namespace

int32_t VerifyDownloadedFile(const char* path, Trust& trust) {
  if (path == nullptr) return SignatureNoPath;
  if (strnlen(path, kMaxPathBytes) >= kMaxPathBytes) return SignaturePathTooLong;
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
  char16_t widePath[kWidePathUnits] = {};
  if (!trust.WidenPath(path, widePath, kWidePathUnits)) return SignatureTrustPathNotConverted;
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
  char16_t widePath[kWidePathUnits] = {};
  if (!trust.WidenPath(path, widePath, kWidePathUnits)) return SignatureSignerPathNotConverted;
  SignerResources held(trust);
  return ReadSigner(widePath, trust, held, name);
}

bool IsRequiredSigner(const std::string& name) {
  // A longer name or another letter case is a mismatch too.
  return name.size() == sizeof kRequiredSigner - 1 &&
         std::memcmp(name.data(), kRequiredSigner, name.size()) == 0;
}
