#include "net/CodeText.h"

#include <cstdio>

#include "net/DownloadClient.h"
#include "net/SignatureCheck.h"

namespace {

struct CodeText {
  int32_t code;
  const char* text;
};

// Thousands: the operation or the transfer's result.
constexpr CodeText kPrimaryTexts[] = {
    {PrimarySucceeded, "the file is complete"},
    {PrimaryStartRefused, "the client refused to start (a transfer still running); report this"},
    {PrimaryNoUrl, "no URL; add the entry to the URL list"},
    {PrimaryUrlTooLong,
     "the URL is 512 bytes or longer; Pellory takes at most 511 bytes, so shorten the URL"},
    {PrimaryNoDestination,
     "there is no temporary folder; set TEMP to a folder that exists and fits in 259 bytes"},
    {PrimaryDestinationTooLong,
     "the temporary folder and the file name come to 260 bytes or more; shorten the file name "
     "or point TEMP at a shorter folder"},
    {PrimaryResetFailed, "the client could not reset its last transfer; report this"},
    {PrimaryCreateFileFailed,
     "the local file cannot be created: the URL ends in no plain file name (a \"/\", a device "
     "name such as COM1 or NUL, a character Windows refuses) or the file is held open; give "
     "the file a plain name"},
    {PrimaryUrlNotStored, "the URL could not be stored; report this"},
    {PrimaryDestinationNotStored, "the destination could not be stored; report this"},
    {PrimaryCrackFailed, "the text is no URL (empty or malformed); write a full http:// URL"},
    {PrimaryNotHttp,
     "the scheme is not http: Pellory speaks plain http only (no https, no ftp); serve the "
     "file over http"},
    {PrimaryOpenFailed,
     "the connection could not be prepared (see the step); check the host name and port"},
    {PrimaryNotStarted, "the transfer did not start"},
    {PrimaryThreadNotCreated, "no thread for the transfer: the system is out of resources"},
    {TransferNoContext, "the transfer thread got no context; report this"},
    {TransferNotReady, "the transfer was not ready; report this"},
    {TransferSendFailed,
     "the request could not be sent: the host does not resolve, nothing listens on the port, "
     "a firewall or the proxy refused it, or a redirect led to https; check the host, the port "
     "and the proxy"},
    {TransferStatusUnreadable,
     "the answer carried no readable status; the server (or proxy) does not speak HTTP"},
    {TransferHttpError,
     "the server or proxy answered with an error status (400 or above, e.g. 404 not found, 407 "
     "proxy authentication); put the file at that URL or let the proxy pass it"},
    {TransferNoContentLength,
     "the server sent no Content-Length (a chunked or compressed response); serve the file as "
     "a static file"},
    {TransferStopped, "the transfer was stopped"},
    {TransferReadFailed,
     "reading the body failed: the connection broke or nothing came for 30 s; check the server "
     "and the network on the way"},
    {TransferStalled,
     "the body ended short of its Content-Length and nothing more came for 30 s (an empty file "
     "ends this way too); serve the complete file, never an empty one"},
    {TransferWriteFailed, "the local file could not be written; free space on the temporary drive"},
    {TransferCloseFailed,
     "the completed local file could not be closed; check the temporary drive"},
    {TransferTerminated, "the transfer was ended by force"},
    {TransferCleanupCloseFailed,
     "the local file could not be closed after the transfer ended; check the temporary drive"},
    {PrimaryOverrun,
     "the server sent more bytes than its Content-Length announced; fix the server's "
     "Content-Length"},
};

// Hundreds: the platform step behind a primary code.
constexpr CodeText kStepTexts[] = {
    {StepStopWaitFailed, "the transfer thread did not end within 40 s"},
    {StepStopCloseThreadFailed, "the transfer thread could not be closed"},
    {StepTerminateFailed, "the transfer thread could not be ended"},
    {StepTerminateCloseThreadFailed, "the ended transfer thread could not be closed"},
    {StepCloseRequestFailed, "the request could not be closed"},
    {StepCloseConnectionFailed, "the connection could not be closed"},
    {StepCloseSessionFailed, "the internet handle could not be closed"},
    {StepCloseFileFailed, "the local file could not be closed"},
    {StepTimeoutsNoHandle, "no handle for the timeouts"},
    {StepConnectTimeoutFailed, "the connect timeout could not be set"},
    {StepSendTimeoutFailed, "the send timeout could not be set"},
    {StepReceiveTimeoutFailed, "the receive timeout could not be set"},
    {StepOpenAlreadyOpen, "a handle was still open, or the URL was empty"},
    {StepOpenHostOrPathMissing, "the URL has no host or no path"},
    {StepOpenHostOrPathEmpty, "the URL has an empty host or an empty path; end it in a file name"},
    {StepInternetOpenFailed, "WinINet could not be opened"},
    {StepSessionTimeoutsFailed, "the timeouts of the internet handle could not be set"},
    {StepConnectFailed, "the connection to the host could not be prepared"},
    {StepConnectionTimeoutsFailed, "the timeouts of the connection could not be set"},
    {StepOpenRequestFailed, "the request could not be prepared"},
    {StepRequestTimeoutsFailed, "the timeouts of the request could not be set"},
    {StepCrackArgumentMissing, "nothing to split"},
    {StepCrackFailed, "WinINet cannot split the URL"},
    {StepCrackHostTooLong, "the host name is 512 bytes or longer"},
    {StepCrackPathTooLong, "the path is 512 bytes or longer"},
    {StepCreateFileFailed, "the local file cannot be created"},
};

constexpr CodeText kSignatureTexts[] = {
    {SignatureVerified, "trusted and signed by \"Morvane Corporation\""},
    {SignatureNoPath, "no file to check"},
    {SignaturePathTooLong, "the path is 260 bytes or longer"},
    {SignatureFileMissing, "the file is missing"},
    {SignatureTrustPathNotConverted, "the path cannot be converted for the trust check"},
    {SignatureNotTrusted,
     "Windows does not trust the signature (see the reason); sign the program again with a "
     "code-signing certificate this machine trusts, and do not change it afterwards"},
    {SignatureSignerPathNotConverted, "the path cannot be converted for the signer check"},
    {SignatureNoEmbeddedSignature, "the program carries no embedded Authenticode signature"},
    {SignatureSignerInfoSizeUnreadable, "the signer information cannot be read"},
    {SignatureSignerInfoNoMemory, "no memory for the signer information"},
    {SignatureSignerInfoUnreadable, "the signer information cannot be read"},
    {SignatureSignerCertificateMissing, "the signer's certificate is not in the signature"},
    {SignatureNameLengthUnreadable, "the signer's name cannot be read"},
    {SignatureNameNoMemory, "no memory for the signer's name"},
    {SignatureNameUnreadable, "the signer's name cannot be read"},
    {SignatureWrongSigner,
     "the signer is not exactly \"Morvane Corporation\" (same letters, same case, nothing "
     "added); serve the publisher's own program"},
};

// WinVerifyTrust's common answers (their Windows values).
constexpr CodeText kTrustTexts[] = {
    {0, "trusted"},
    {static_cast<int32_t>(0x800B0100), "the file is not signed"},
    {static_cast<int32_t>(0x80096010), "the file was changed after it was signed"},
    {static_cast<int32_t>(0x800B0109),
     "the certificate chain ends in a root this machine does not trust"},
    {static_cast<int32_t>(0x800B010A), "the certificate chain cannot be built"},
    {static_cast<int32_t>(0x800B0101), "a certificate has expired or is not yet valid"},
    {static_cast<int32_t>(0x800B010C), "a certificate has been revoked"},
    {static_cast<int32_t>(0x800B0110), "the certificate is not for code signing"},
    {static_cast<int32_t>(0x800B0111), "the certificate is explicitly distrusted here"},
    {static_cast<int32_t>(0x800B0004), "the subject is not trusted for this action"},
    {static_cast<int32_t>(0x800B0003),
     "the file is of a kind that carries no Authenticode signature"},
    {static_cast<int32_t>(0x80092026), "the local security policy refuses it"},
    {static_cast<int32_t>(0x800B0001), "no trust provider knows this kind of file"},
};

// Common platform errors behind a failed transfer (WinINet's, Winsock's and the file
// system's numbers).
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
const char* Find(const CodeText (&table)[N], int32_t code) {
  for (const CodeText& entry : table) {
    if (entry.code == code) return entry.text;
  }
  return nullptr;
}

std::string Numbered(const std::string& number, const char* text) {
  return number + ": " + (text != nullptr ? text : "an unknown code");
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

std::string DescribeSignatureCode(int32_t code) {
  return Numbered(std::to_string(code), Find(kSignatureTexts, code));
}

std::string DescribePlatformError(uint32_t error) {
  const char* text = Find(kPlatformErrorTexts, static_cast<int32_t>(error));
  return std::to_string(error) + (text != nullptr ? std::string(": ") + text : std::string());
}

std::string DescribeTrustVerdict(int32_t verdict) {
  char number[16];
  std::snprintf(number, sizeof number, "0x%08X", static_cast<unsigned>(verdict));
  return Numbered(number, Find(kTrustTexts, verdict));
}
