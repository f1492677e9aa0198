#include "net/SignatureCheck.h"

#include <cstring>

#include "platform/Files.h"

namespace {

// The code of each step at which reading the signer can stop, in the order of TrustStep.
constexpr int32_t kSignerCodes[] = {SignatureVerified,
                                    SignatureSignerPathNotConverted,
                                    SignatureNoEmbeddedSignature,
                                    SignatureSignerInfoSizeUnreadable,
                                    SignatureSignerInfoNoMemory,
                                    SignatureSignerInfoUnreadable,
                                    SignatureSignerCertificateMissing,
                                    SignatureNameLengthUnreadable,
                                    SignatureNameNoMemory,
                                    SignatureNameUnreadable};
static_assert(sizeof kSignerCodes / sizeof kSignerCodes[0] ==
                  static_cast<size_t>(TrustStep::NameUnreadable) + 1,
              "a code for every step");

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
  const TrustVerdict verdict = trust.VerifyTrust(path);
  if (verdict.step != TrustStep::Answered) return SignatureTrustPathNotConverted;
  return verdict.reason == 0 ? SignatureVerified : SignatureNotTrusted;
}

int32_t VerifyFileSigner(const char* path, Trust& trust) {
  const TrustVerdict verdict = trust.ReadSigner(path);
  if (verdict.step != TrustStep::Answered) return kSignerCodes[static_cast<size_t>(verdict.step)];
  return IsRequiredSigner(verdict.signer) ? SignatureVerified : SignatureWrongSigner;
}

bool IsRequiredSigner(const std::string& name) {
  // A longer name, another letter case or a name with a NUL inside is a mismatch too.
  return name.size() == sizeof kRequiredSigner - 1 &&
         std::memcmp(name.data(), kRequiredSigner, name.size()) == 0;
}
