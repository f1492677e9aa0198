#include "afx/AfxStrings.h"

#include "afx/AfxFormat.h"
#include "platform/win32/Resources.h"

const void* AfxLoadResource(LPCSTR type, UINT id, DWORD& size) {
  return FindOwnResource(type, id, size);
}

BOOL AfxLoadString(UINT id, CString& text) {
  // String n lives in block n/16 + 1 at index n mod 16; each entry is a 16-bit length
  // followed by that many UTF-16 units.
  DWORD size = 0;
  const auto* data = static_cast<const WCHAR*>(AfxLoadResource(RT_STRING, id / 16 + 1, size));
  if (data == nullptr || size == 0) return FALSE;
  const WCHAR* end = data + size / sizeof(WCHAR);
  const WCHAR* entry = data;
  for (UINT i = 0; i < id % 16; ++i) {
    if (entry >= end) return FALSE;
    entry += 1 + *entry;
  }
  if (entry >= end || *entry == 0 || entry + 1 + *entry > end) return FALSE;
  text.assign(entry + 1, *entry);
  return TRUE;
}

CString AfxFormatString(UINT id, std::initializer_list<int> values) {
  CString format;
  AfxLoadString(id, format);
  return FormatDecimalFields(format, values);
}

CString AfxWideFromCodePage(UINT codePage, const std::string& bytes) {
  if (bytes.empty()) return CString();
  const int length = static_cast<int>(bytes.size());
  int wide = ::MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
  if (wide <= 0) return CString();
  CString text(static_cast<size_t>(wide), L'\0');
  wide = ::MultiByteToWideChar(codePage, 0, bytes.data(), length, &text[0], wide);
  text.resize(static_cast<size_t>(wide > 0 ? wide : 0));
  return text;
}

CString AfxGetAppName() {
  WCHAR path[MAX_PATH] = {};
  DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  CString name(path, n);
  size_t slash = name.find_last_of(L"\\/");
  if (slash != CString::npos) name.erase(0, slash + 1);
  size_t dot = name.rfind(L'.');
  if (dot != CString::npos) name.erase(dot);
  return name;
}
