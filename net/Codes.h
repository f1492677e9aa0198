#pragma once
// Every code of the download client and of the signature check, each with its value and
// the sentence that tells the administrator of a download server what it means and what
// to change. The enums and the checking tool's texts are both made from these lists, so
// that a code and its meaning are written once. Pellory itself never shows a code.

// Hundreds: the platform step that failed.
#define DOWNLOAD_STEP_CODES(X)                                                              \
  X(StepStopWaitFailed, 100, "the transfer thread did not end within 40 s")                 \
  X(StepStopCloseThreadFailed, 101, "the transfer thread could not be closed")              \
  X(StepTerminateFailed, 102, "the transfer thread could not be ended")                     \
  X(StepTerminateCloseThreadFailed, 103, "the ended transfer thread could not be closed")   \
  X(StepCloseRequestFailed, 104, "the request could not be closed")                         \
  X(StepCloseConnectionFailed, 105, "the connection could not be closed")                   \
  X(StepCloseSessionFailed, 106, "the internet handle could not be closed")                 \
  X(StepCloseFileFailed, 107, "the local file could not be closed")                         \
  X(StepTimeoutsNoHandle, 200, "no handle for the timeouts")                                \
  X(StepConnectTimeoutFailed, 201, "the connect timeout could not be set")                  \
  X(StepSendTimeoutFailed, 202, "the send timeout could not be set")                        \
  X(StepReceiveTimeoutFailed, 203, "the receive timeout could not be set")                  \
  X(StepOpenAlreadyOpen, 300, "a handle was still open, or the URL was empty")              \
  X(StepOpenHostOrPathMissing, 301, "the URL has no host or no path")                       \
  X(StepOpenHostOrPathEmpty, 302,                                                           \
    "the URL has an empty host or an empty path; end it in a file name")                    \
  X(StepInternetOpenFailed, 303, "WinINet could not be opened")                             \
  X(StepSessionTimeoutsFailed, 304, "the timeouts of the internet handle could not be set") \
  X(StepConnectFailed, 305, "the connection to the host could not be prepared")             \
  X(StepConnectionTimeoutsFailed, 306, "the timeouts of the connection could not be set")   \
  X(StepOpenRequestFailed, 307, "the request could not be prepared")                        \
  X(StepRequestTimeoutsFailed, 308, "the timeouts of the request could not be set")         \
  X(StepCrackArgumentMissing, 400, "nothing to split")                                      \
  X(StepCrackFailed, 401, "WinINet cannot split the URL")                                   \
  X(StepCrackHostTooLong, 402, "the host name is 512 bytes or longer")                      \
  X(StepCrackPathTooLong, 403, "the path is 512 bytes or longer")                           \
  X(StepCreateFileFailed, 500, "the local file cannot be created")

// Thousands: the operation that failed.
#define DOWNLOAD_PRIMARY_CODES(X)                                                                  \
  X(PrimarySucceeded, 0, "the file is complete")                                                   \
  X(PrimaryStartRefused, 100000,                                                                   \
    "the client refused to start (a transfer still running); report this")                         \
  X(PrimaryNoUrl, 101000, "no URL; add the entry to the URL list")                                 \
  X(PrimaryUrlTooLong, 102000,                                                                     \
    "the URL is 512 bytes or longer; Pellory takes at most 511 bytes, so shorten the URL")         \
  X(PrimaryNoDestination, 103000,                                                                  \
    "there is no working folder: none could be made under the Windows folder's Temp; check "       \
    "that folder")                                                                                 \
  X(PrimaryDestinationTooLong, 104000,                                                             \
    "the working folder and the file name come to 260 bytes or more; shorten the file name")       \
  X(PrimaryResetFailed, 105000, "the client could not reset its last transfer; report this")       \
  X(PrimaryCreateFileFailed, 106000,                                                               \
    "the local file cannot be created: the URL ends in no plain file name (a \"/\", a device "     \
    "name such as COM1 or NUL, a character Windows refuses) or the file is held open; give the "   \
    "file a plain name")                                                                           \
  X(PrimaryUrlNotStored, 107000, "the URL could not be stored; report this")                       \
  X(PrimaryDestinationNotStored, 108000, "the destination could not be stored; report this")       \
  X(PrimaryCrackFailed, 109000,                                                                    \
    "the text is no URL (empty or malformed); write a full http:// URL")                           \
  X(PrimaryNotHttp, 110000,                                                                        \
    "the scheme is not http: Pellory speaks plain http only (no https, no ftp); serve the file "   \
    "over http")                                                                                   \
  X(PrimaryOpenFailed, 111000,                                                                     \
    "the connection could not be prepared (see the step); check the host name and port")           \
  X(PrimaryNotStarted, 200000, "the transfer did not start")                                       \
  X(PrimaryThreadNotCreated, 201000, "no thread for the transfer: the system is out of resources") \
  X(PrimaryOverrun, 500000,                                                                        \
    "the server sent more bytes than its Content-Length announced; fix the server's "              \
    "Content-Length")

// Thousands: the transfer thread's result, also its exit code.
#define TRANSFER_RESULTS(X)                                                                       \
  X(TransferNoContext, 300000, "the transfer thread got no context; report this")                 \
  X(TransferNotReady, 301000, "the transfer was not ready; report this")                          \
  X(TransferSendFailed, 302000,                                                                   \
    "the request could not be sent: the host does not resolve, nothing listens on the port, a "   \
    "firewall or the proxy refused it, or a redirect led to https; check the host, the port and " \
    "the proxy")                                                                                  \
  X(TransferStatusUnreadable, 303000,                                                             \
    "the answer carried no readable status; the server (or proxy) does not speak HTTP")           \
  X(TransferHttpError, 304000,                                                                    \
    "the server or proxy answered with an error status (400 or above, e.g. 404 not found, 407 "   \
    "proxy authentication); put the file at that URL or let the proxy pass it")                   \
  X(TransferNoContentLength, 305000,                                                              \
    "the server sent no Content-Length (a chunked or compressed response); serve the file as a "  \
    "static file")                                                                                \
  X(TransferStopped, 307000, "the transfer was stopped")                                          \
  X(TransferReadFailed, 308000,                                                                   \
    "reading the body failed: the connection broke or nothing came for 30 s; check the server "   \
    "and the network on the way")                                                                 \
  X(TransferStalled, 309000,                                                                      \
    "the body ended short of its Content-Length and nothing more came for 30 s (an empty file "   \
    "ends this way too); serve the complete file, never an empty one")                            \
  X(TransferWriteFailed, 310000,                                                                  \
    "the local file could not be written; free space on the working folder's drive")              \
  X(TransferCloseFailed, 311000,                                                                  \
    "the completed local file could not be closed; check the working folder's drive")             \
  X(TransferTerminated, 313000, "the transfer was ended by force")                                \
  X(TransferCleanupCloseFailed, 999000,                                                           \
    "the local file could not be closed after the transfer ended; check the working folder's "    \
    "drive")

// The signature check's verdict: 0, or the step that refused the program.
#define SIGNATURE_CODES(X)                                                                         \
  X(SignatureVerified, 0, "trusted and signed by \"Morvane Corporation\"")                         \
  X(SignatureNoPath, 100, "no file to check")                                                      \
  X(SignaturePathTooLong, 101, "the path is 260 bytes or longer")                                  \
  X(SignatureFileMissing, 102, "the file is missing")                                              \
  X(SignatureTrustPathNotConverted, 200, "the path cannot be converted for the trust check")       \
  X(SignatureNotTrusted, 201,                                                                      \
    "Windows does not trust the signature (see the reason); sign the program again with a "        \
    "code-signing certificate this machine trusts, and do not change it afterwards")               \
  X(SignatureSignerPathNotConverted, 300, "the path cannot be converted for the signer check")     \
  X(SignatureNoEmbeddedSignature, 301, "the program carries no embedded Authenticode signature")   \
  X(SignatureSignerInfoSizeUnreadable, 302, "the signer information cannot be read")               \
  X(SignatureSignerInfoNoMemory, 303, "no memory for the signer information")                      \
  X(SignatureSignerInfoUnreadable, 304, "the signer information cannot be read")                   \
  X(SignatureSignerCertificateMissing, 305, "the signer's certificate is not in the signature")    \
  X(SignatureNameLengthUnreadable, 306, "the signer's name cannot be read")                        \
  X(SignatureNameNoMemory, 307, "no memory for the signer's name")                                 \
  X(SignatureNameUnreadable, 308, "the signer's name cannot be read")                              \
  X(SignatureWrongSigner, 309,                                                                     \
    "the signer is not exactly \"Morvane Corporation\" (same letters, same case, nothing added); " \
    "serve the publisher's own program")

// An enumerator, or a table entry, made of a list entry.
#define CODE_ENUMERATOR(name, value, text) name = value,
#define CODE_TEXT(name, value, text) {name, text},
