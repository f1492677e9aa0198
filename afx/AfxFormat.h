#pragma once
// Fills the "%d" fields of a format text, in order; "%%" stays a single percent sign.
// Plain C++ so that a text with too few or too many fields can never read past the values.

#include <initializer_list>
#include <string>

inline std::wstring FormatDecimalFields(const std::wstring& format, std::initializer_list<int> values) {
  std::wstring out;
  auto next = values.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == L'%' && i + 1 < format.size()) {
      if (format[i + 1] == L'd') {
        if (next != values.end()) out += std::to_wstring(*next++);
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
