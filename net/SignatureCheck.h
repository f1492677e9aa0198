#pragma once
// Decides whether a downloaded program may run: the platform's Authenticode policy must
// trust its embedded signature, and the first signer's certificate must carry exactly
// the display name "Morvane Corporation". Returns 0 or the code of the first failure.

#include <cstdint>
#include <optional>
#include <string>

#include "net/Codes.h"
#include "platform/Trust.h"

enum SignatureCode : int32_t { SIGNATURE_CODES(CODE_ENUMERATOR) };

// The one publisher whose programs are run, compared byte for byte.
constexpr char kRequiredSigner[] = "Morvane Corporation";

// `signer`, when given, gets the name the check read; none when it stopped before reading one.
int32_t VerifyDownloadedFile(const char* path, Trust& trust,
                             std::optional<std::string>* signer = nullptr);
bool IsRequiredSigner(const std::string& name);
