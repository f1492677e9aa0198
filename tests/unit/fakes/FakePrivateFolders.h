#pragma once
// Private folders in memory: records what was asked for, keeps what a test says the
// system keeps, and counts the folders held open.

#include <gtest/gtest.h>
#include <unistd.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/WorkFolder.h"
#include "platform/PrivateFolders.h"

class FakePrivateFolders : public PrivateFolders {
 public:
  std::string windowsFolder = "C:\\Windows";
  std::vector<uint32_t> randoms = {0x0badf00d, 0x12345678, 0x9abcdef0, 0x0fedcba9, 0x11111111};
  std::set<std::string> existing;  // names something already stands at
  bool keepsDescriptors = true;
  // What the system reads back for a folder it made: by default exactly what is asked.
  FolderSecurity readBack = {
      "S-1-5-32-544",
      true,
      true,
      {{true, "S-1-5-18", 0x1F01FF, 3}, {true, "S-1-5-32-544", 0x1F01FF, 3}}};
  bool holdIsFolder = true;

  // Path and descriptor asked for ("" for none).
  std::vector<std::pair<std::string, std::string>> creates;
  int held = 0;  // handles open now

  // A Windows folder on the real disk, for tests that read back a file the work folder
  // holds ("\\Temp\\..." then names a file there). ctest runs cases side by side, so
  // each process gets its own, or one case's clean-up removes another's file.
  void PlaceOnDisk() { windowsFolder = ::testing::TempDir() + "win" + std::to_string(::getpid()); }

  std::string WindowsFolder() override { return windowsFolder; }
  bool Random(uint32_t& value) override {
    if (m_next >= randoms.size()) return false;
    value = randoms[m_next++];
    return true;
  }
  bool Create(const char* path, const char* sddl) override {
    creates.emplace_back(path, sddl != nullptr ? sddl : "");
    return existing.insert(path).second;
  }
  FolderHandle Hold(const char*) override {
    ++held;
    return FolderHandle(7);
  }
  bool IsFolder(FolderHandle) override { return holdIsFolder; }
  bool ReadSecurity(FolderHandle, FolderSecurity& security) override {
    security = readBack;
    return true;
  }
  void Close(FolderHandle) override { --held; }
  bool KeepsDescriptors() override { return keepsDescriptors; }
  uint32_t LastError() override { return 5; }

 private:
  size_t m_next = 0;
};
