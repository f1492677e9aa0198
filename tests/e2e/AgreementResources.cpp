#include "AgreementResources.h"

#include <cstring>
#include <sstream>
#include <vector>

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

std::wstring BoxText(const std::vector<WORD>& ids) {
  std::wstring text;
  for (WORD id : ids) text += L"\r\n" + ResourceText(id);
  return text;
}

}  // namespace agreement_resources

namespace agreement_resources {

namespace {

std::string Describe(const std::vector<WORD>& ids) {
  std::ostringstream out;
  out << "CR LF + ";
  const char* separator = "";
  for (WORD id : ids) {
    out << separator << id;
    separator = " + CR LF + ";
  }
  return ids.size() ? out.str() : "nothing";
}

}  // namespace

::testing::AssertionResult BoxHolds(const std::wstring& box, const std::vector<WORD>& ids) {
  const std::wstring expected = BoxText(ids);
  if (box == expected) return ::testing::AssertionSuccess();
  const std::vector<std::vector<WORD>> known = {{},    {134}, {134, 136}, {134, 135, 136},
                                                {141}, {136}, {135}};
  for (const auto& other : known) {
    if (box == BoxText(other)) {
      return ::testing::AssertionFailure()
             << "the box holds " << Describe(other) << ", expected " << Describe(ids);
    }
  }
  size_t at = 0;
  while (at < box.size() && at < expected.size() && box[at] == expected[at]) ++at;
  return ::testing::AssertionFailure()
         << "the box holds " << box.size() << " characters, expected " << Describe(ids) << " ("
         << expected.size() << " characters); they differ from character " << at;
}

}  // namespace agreement_resources
