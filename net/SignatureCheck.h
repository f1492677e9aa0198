#pragma once
// Decides whether a downloaded program may run: the platform's Authenticode policy must
// trust its embedded signature, and the first signer's certificate must carry exactly
// the display name "Morvane Corporation". Returns 0 or the code of the first failure.

#include <cstdint>
#include <string>

#include "net/Codes.h"
#include "platform/Trust.h"

enum SignatureCode : int32_t { SIGNATURE_CODES(CODE_ENUMERATOR) };

// The one publisher whose programs are run, compared byte for byte.
constexpr char kRequiredSigner[] = "Morvane Corporation";

int32_t VerifyDownloadedFile(const char* path, Trust& trust);
bool IsRequiredSigner(const std::string& name);
