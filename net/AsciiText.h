#pragma once
// Text as Windows compares names, environment names included: A-Z without case.

#include <cstdint>
#include <string>

std::string UpperAscii(std::string text);
bool SameIgnoringAsciiCase(const std::string& a, const std::string& b);

// Eight lower-case hex digits of `value`: the part of a fresh name that nobody can guess.
std::string HexDigits(uint32_t value);
