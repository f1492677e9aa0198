#include "net/SignatureCheck.h"

#include <cstring>

#include "platform/Files.h"

namespace {

// The signer steps' codes run from 300 in the order of TrustStep.
constexpr int32_t SignerCode(TrustStep step) {
  return SignatureSignerPathNotConverted + static_cast<int32_t>(step) -
         static_cast<int32_t>(TrustStep::PathNotConverted);
}
static_assert(SignerCode(TrustStep::NameUnreadable) == SignatureNameUnreadable,
              "a code for every step, in order");

// The platform's reason for a refusal is dropped: any refusal is the same rejection.
int32_t VerifyFileTrust(const char* path, Trust& trust) {
  const TrustVerdict verdict = trust.VerifyTrust(path);
  if (verdict.step != TrustStep::Answered) return SignatureTrustPathNotConverted;
  return verdict.reason == 0 ? SignatureVerified : SignatureNotTrusted;
}

int32_t VerifyFileSigner(const char* path, Trust& trust, std::optional<std::string>* signer) {
  const TrustVerdict verdict = trust.ReadSigner(path);
  if (verdict.step != TrustStep::Answered) return SignerCode(verdict.step);
  if (signer != nullptr) *signer = verdict.signer;
  return IsRequiredSigner(verdict.signer) ? SignatureVerified : SignatureWrongSigner;
}

}  // namespace

int32_t VerifyDownloadedFile(const char* path, Trust& trust, std::optional<std::string>* signer) {
  if (path == nullptr) return SignatureNoPath;
  if (strnlen(path, kPathCapacity) >= kPathCapacity) return SignaturePathTooLong;
  if (!trust.FileExists(path)) return SignatureFileMissing;
  const int32_t trusted = VerifyFileTrust(path, trust);
  if (trusted != SignatureVerified) return trusted;
  return VerifyFileSigner(path, trust, signer);
}

bool IsRequiredSigner(const std::string& name) {
  // A longer name, another letter case or a name with a NUL inside is a mismatch too.
  return name.size() == sizeof kRequiredSigner - 1 &&
         std::memcmp(name.data(), kRequiredSigner, name.size()) == 0;
}
