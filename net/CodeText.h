#pragma once
// The codes of the download client and of the signature check in words, for the checking
// tool: each code's own sentence (net/Codes.h), with the step and the platform's reason.

#include <cstdint>
#include <string>

#include "net/FetchAndVerify.h"

// "305000: the server sent no Content-Length ...". For a transfer that did not start
// (200000), startCode is what Start gave, which names the reason.
std::string DescribeDownloadCode(int32_t combined, int32_t startCode = 0);

// An attempt's code in words, with the platform's error behind a failure where there is one:
// "302000: ... [platform error 12029: ...]".
std::string DescribeAttempt(const AttemptResult& attempt);

// "309: the signer is not ...", for the codes of the signature check.
std::string DescribeSignatureCode(int32_t code);

// The Authenticode policy's own verdict in words ("0x800B0100: the file is not signed").
std::string DescribeTrustVerdict(int32_t verdict);

// What holding a completed file found: the signature check's sentence for a held or
// unverified program, else why it was refused.
std::string DescribeHold(const HoldResult& hold);

// A file's pin after holding it: "none", "matches" or "differs".
const char* PinState(const Pin& pin, const HoldResult& hold);
