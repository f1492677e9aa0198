#include "net/AsciiText.h"

std::string UpperAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

bool SameIgnoringAsciiCase(const std::string& a, const std::string& b) {
  return UpperAscii(a) == UpperAscii(b);
}

std::string HexDigits(uint32_t value) {
  std::string digits;
  for (int shift = 28; shift >= 0; shift -= 4)
    digits.push_back("0123456789abcdef"[(value >> shift) & 0xF]);
  return digits;
}
