#pragma once
// What the fakes give for a file's SHA-256: a mix of its bytes that any change alters,
// enough for tests of what the core does with digests (the platform's hash is the real one).

#include <string>

#include "platform/Files.h"

inline Sha256Digest FakeSha256(const std::string& bytes) {
  Sha256Digest digest{};
  for (std::size_t i = 0; i < bytes.size(); ++i)
    digest[i % digest.size()] =
        static_cast<uint8_t>(digest[i % digest.size()] * 31 + static_cast<uint8_t>(bytes[i]) + i);
  digest[0] ^= static_cast<uint8_t>(bytes.size());
  return digest;
}
