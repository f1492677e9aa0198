#pragma once
// The Authenticode policy and the signer's certificate (WinTrust and CryptoAPI on Windows),
// asked one whole question at a time: the adapter converts the path, makes the calls,
// gives back everything it obtained and says how far it got.

#include <cstdint>
#include <string>

// Where a question about a file stopped, in the order its steps are taken.
enum class TrustStep : uint8_t {
  Answered,
  PathNotConverted,  // to UTF-16 with the system ANSI code page
  NoEmbeddedSignature,
  SignerInfoSizeUnreadable,
  SignerInfoNoMemory,
  SignerInfoUnreadable,
  CertificateMissing,  // the signer's certificate is not in the signature's own store
  NameLengthUnreadable,
  NameNoMemory,
  NameUnreadable,
};

struct TrustVerdict {
  TrustStep step = TrustStep::Answered;
  int32_t reason = 0;  // the policy's own verdict (0 trusted); 0 when it never ran
  std::string signer;  // the display name; empty unless the signer was read
};

class Trust {
 public:
  virtual ~Trust() = default;

  // True when the path's attributes can be read (a directory counts).
  virtual bool FileExists(const char* path) = 0;
  // The Authenticode policy on the file's embedded signature: Answered with its reason, or
  // PathNotConverted.
  virtual TrustVerdict VerifyTrust(const char* path) = 0;
  // The first signer's simple display name in the ANSI code page, every byte the platform
  // returned; or the step that failed.
  virtual TrustVerdict ReadSigner(const char* path) = 0;
};

Trust& SystemTrust();
