#pragma once
// Fills the "%d" fields of a format text, in order; "%%" stays a single percent sign.
// Plain C++ so that a text with too few or too many fields can never read past the values.

#include <initializer_list>
#include <string>

// std::to_wstring would do, but on Windows it brings in a whole wide printf.
inline void AppendDecimal(std::wstring& out, int value) {
  unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  wchar_t digits[12];
  wchar_t* first = digits + sizeof digits / sizeof digits[0];
  do {
    *--first = static_cast<wchar_t>(L'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) *--first = L'-';
  out.append(first, digits + sizeof digits / sizeof digits[0]);
}

inline std::wstring FormatDecimalFields(const std::wstring& format,
                                        std::initializer_list<int> values) {
  std::wstring out;
  auto next = values.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == L'%' && i + 1 < format.size()) {
      if (format[i + 1] == L'd') {
        if (next != values.end()) AppendDecimal(out, *next++);
        ++i;
        continue;
      }
      if (format[i + 1] == L'%') {
        out += L'%';
        ++i;
        continue;
      }
    }
    out += format[i];
  }
  return out;
}
