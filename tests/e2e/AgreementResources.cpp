#include "AgreementResources.h"

#include <cstring>

#include "robot/ChildProcess.h"

namespace agreement_resources {

std::wstring ResourceText(WORD id) {
  HMODULE exe = LoadLibraryExW(robot::PelloryExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (exe == nullptr) return {};
  std::wstring text;
  if (HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(23))) {
    HGLOBAL loaded = LoadResource(exe, found);
    const auto* bytes = static_cast<const char*>(loaded ? LockResource(loaded) : nullptr);
    const DWORD size = bytes ? SizeofResource(exe, found) : 0;
    const void* nul = size ? std::memchr(bytes, 0, size) : nullptr;
    const int length = static_cast<int>(nul ? static_cast<const char*>(nul) - bytes : size);
    const int wide = length ? MultiByteToWideChar(932, 0, bytes, length, nullptr, 0) : 0;
    if (wide > 0) {
      text.resize(static_cast<size_t>(wide));
      MultiByteToWideChar(932, 0, bytes, length, text.data(), wide);
    }
  }
  FreeLibrary(exe);
  return text;
}

std::wstring BoxText(std::initializer_list<WORD> ids) {
  std::wstring text;
  for (WORD id : ids) text += L"\r\n" + ResourceText(id);
  return text;
}

}  // namespace agreement_resources
