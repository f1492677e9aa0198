#include "net/CodeText.h"

#include <cstdio>

#include "net/DownloadClient.h"
#include "net/SignatureCheck.h"

namespace {

// Wide enough for the policy's verdicts, which are HRESULTs, as written (0x800B0100).
struct CodeText {
  int64_t code;
  const char* text;
};

constexpr CodeText kPrimaryTexts[] = {DOWNLOAD_PRIMARY_CODES(CODE_TEXT)
                                          TRANSFER_RESULTS(CODE_TEXT)};

constexpr CodeText kStepTexts[] = {DOWNLOAD_STEP_CODES(CODE_TEXT)};

constexpr CodeText kSignatureTexts[] = {SIGNATURE_CODES(CODE_TEXT)};

// WinVerifyTrust's common answers (their Windows values).
constexpr CodeText kTrustTexts[] = {
    {0, "trusted"},
    {0x800B0100, "the file is not signed"},
    {0x80096010, "the file was changed after it was signed"},
    {0x800B0109, "the certificate chain ends in a root this machine does not trust"},
    {0x800B010A, "the certificate chain cannot be built"},
    {0x800B0101, "a certificate has expired or is not yet valid"},
    {0x800B010C, "a certificate has been revoked"},
    {0x800B0110, "the certificate is not for code signing"},
    {0x800B0111, "the certificate is explicitly distrusted here"},
    {0x800B0004, "the subject is not trusted for this action"},
    {0x800B0003, "the file is of a kind that carries no Authenticode signature"},
    {0x80092026, "the local security policy refuses it"},
    {0x800B0001, "no trust provider knows this kind of file"},
};

// Common platform errors behind a failed transfer: WinINet's, Winsock's and the file system's.
constexpr CodeText kPlatformErrorTexts[] = {
    {2, "the file or folder does not exist"},
    {3, "the folder does not exist"},
    {5, "access is denied"},
    {32, "the file is held open by another program (or by this run)"},
    {123, "the name is not a valid file name"},
    {10060, "the connection timed out"},
    {12002, "the request timed out"},
    {12005, "the URL is invalid"},
    {12006, "the URL's scheme is not recognised"},
    {12007, "the host name does not resolve"},
    {12029, "no connection to the server (nothing listens there, or a firewall blocks it)"},
    {12030, "the connection was aborted"},
    {12031, "the connection was reset"},
    {12039, "a redirect from http to https, which Pellory does not follow"},
    {12152, "the server's answer is no valid HTTP"},
    {12150, "the header is not in the answer"},
    {12157, "a secure channel error"},
};

template <size_t N>
const char* Find(const CodeText (&table)[N], int64_t code) {
  for (const CodeText& entry : table) {
    if (entry.code == code) return entry.text;
  }
  return nullptr;
}

std::string Numbered(const std::string& number, const char* text) {
  return number + ": " + (text != nullptr ? text : "an unknown code");
}

// A platform error number, in words where common ("12007: the host name does not resolve").
std::string DescribePlatformError(uint32_t error) {
  const char* text = Find(kPlatformErrorTexts, error);
  return std::to_string(error) + (text != nullptr ? std::string(": ") + text : std::string());
}

}  // namespace

std::string DescribeDownloadCode(int32_t combined, int32_t startCode) {
  const int32_t step = combined % 1000;
  const int32_t primary = combined - step;
  std::string text = Numbered(std::to_string(combined), Find(kPrimaryTexts, primary));
  if (primary == PrimaryNotStarted && startCode != 0 && startCode != combined) {
    // The reason Start gave, which the owner's 200000 replaced.
    text += " (" + DescribeDownloadCode(startCode) + ")";
  } else if (step != 0) {
    text += "; step " + Numbered(std::to_string(step), Find(kStepTexts, step));
  }
  return text;
}

std::string DescribeAttempt(const AttemptResult& attempt) {
  const std::string text = DescribeDownloadCode(attempt.code, attempt.startCode);
  if (attempt.code == 0 || attempt.lastError == 0) return text;
  return text + " [platform error " + DescribePlatformError(attempt.lastError) + "]";
}

std::string DescribeSignatureCode(int32_t code) {
  return Numbered(std::to_string(code), Find(kSignatureTexts, code));
}

std::string DescribeTrustVerdict(int32_t verdict) {
  char number[16];
  std::snprintf(number, sizeof number, "0x%08X", static_cast<unsigned>(verdict));
  return Numbered(number, Find(kTrustTexts, static_cast<uint32_t>(verdict)));
}

std::string DescribeHold(const HoldResult& hold) {
  switch (hold.outcome) {
    case HoldOutcome::NotOpened:
      return "the file cannot be held open for the check";
    case HoldOutcome::NotPlain:
      return "the file is a link or has another name: not the plain file downloaded";
    case HoldOutcome::PinDiffers:
      return "its SHA-256 differs from the pin in its URL";
    case HoldOutcome::Held:
    case HoldOutcome::Unverified:
      break;
  }
  return DescribeSignatureCode(hold.signatureCode);
}

const char* PinState(const Pin& pin, const HoldResult& hold) {
  return !pin ? "none" : hold.pinMatches ? "matches" : "differs";
}
