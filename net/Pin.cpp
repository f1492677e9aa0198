#include "net/Pin.h"

#include "net/AsciiText.h"

namespace {
constexpr char kPinMark[] = "#sha256=";
constexpr std::size_t kPinMarkLength = sizeof kPinMark - 1;
constexpr std::size_t kPinDigits = 2 * sizeof(Sha256Digest);
}  // namespace

PinnedUrl SplitPin(const std::string& url) {
  if (url.size() < kPinMarkLength + kPinDigits) return {url, std::nullopt};
  const std::size_t at = url.size() - kPinDigits - kPinMarkLength;
  // The mark must open the URL's only fragment: "#x#sha256=..." is another fragment.
  if (url.find('#') != at || url.compare(at, kPinMarkLength, kPinMark) != 0)
    return {url, std::nullopt};
  const std::string digits = UpperAscii(url.substr(at + kPinMarkLength));
  Sha256Digest digest{};
  for (std::size_t i = 0; i < kPinDigits; ++i) {
    const std::size_t value = std::string("0123456789ABCDEF").find(digits[i]);
    if (value == std::string::npos) return {url, std::nullopt};
    digest[i / 2] = static_cast<uint8_t>(digest[i / 2] << 4 | value);
  }
  return {url.substr(0, at), digest};
}

std::string PinFragment(const Sha256Digest& digest) {
  std::string fragment = kPinMark;
  for (std::size_t i = 0; i < digest.size(); i += 4) {
    fragment += HexDigits(static_cast<uint32_t>(digest[i]) << 24 | digest[i + 1] << 16 |
                          digest[i + 2] << 8 | digest[i + 3]);
  }
  return fragment;
}
