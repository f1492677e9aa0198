// The registry reads against the real registry: the URL-list override in every shape,
// and the older software's probe key, whose Shift-JIS name only means that key on a
// system whose ANSI code page is 932. Suites named Ja... run on the Japanese system.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "engine/HklmString.h"
#include "engine/OldSoftwareProbe.h"
#include "platform/Registry.h"

namespace {

// Keeps whatever a value held before the test and puts it back afterwards, so that the
// test leaves the prefix as it found it.
class SavedValue {
 public:
  SavedValue(const char* subKey, const char* valueName) : m_subKey(subKey), m_name(valueName) {
    HKEY key = nullptr;
    m_keyExisted = RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (!m_keyExisted) return;
    DWORD size = 0;
    if (RegQueryValueExA(key, valueName, nullptr, &m_type, nullptr, &size) == ERROR_SUCCESS) {
      m_data.resize(size);
      m_valueExisted =
          RegQueryValueExA(key, valueName, nullptr, &m_type, m_data.data(), &size) == ERROR_SUCCESS;
    }
    RegCloseKey(key);
  }
  ~SavedValue() {
    if (!m_keyExisted) {
      RegDeleteKeyA(HKEY_LOCAL_MACHINE, m_subKey.c_str());
      return;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, m_subKey.c_str(), 0, KEY_SET_VALUE, &key) !=
        ERROR_SUCCESS)
      return;
    if (m_valueExisted)
      RegSetValueExA(key, m_name.c_str(), 0, m_type, m_data.data(), DWORD(m_data.size()));
    else
      RegDeleteValueA(key, m_name.c_str());
    RegCloseKey(key);
  }

 private:
  std::string m_subKey, m_name;
  bool m_keyExisted = false, m_valueExisted = false;
  DWORD m_type = 0;
  std::vector<BYTE> m_data;
};

void SetValue(const char* subKey, const char* valueName, DWORD type, const std::string& data) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExA(key, valueName, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                           DWORD(data.size())),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

void DeleteValue(const char* subKey, const char* valueName) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, valueName);
  RegCloseKey(key);
}

using namespace std::string_literals;

struct OverrideCase {
  const char* name;
  DWORD type;
  std::string data;  // as stored, terminator included where there is one
  std::string expected;
};

TEST(UrlListOverride, ReadsTheValueAsStored) {
  SavedValue saved(kPelloryKey, kUrlListValueName);
  const OverrideCase cases[] = {
      OverrideCase{"Present", REG_SZ, "http://127.0.0.1:8080/list/mirror.txt\0"s,
                   "http://127.0.0.1:8080/list/mirror.txt"},
      OverrideCase{"Empty", REG_SZ, "\0"s, ""},
      OverrideCase{"NotTrimmed", REG_SZ, " http://m/u.txt \0"s, " http://m/u.txt "},
      OverrideCase{"FillsTheLimit", REG_SZ, std::string(1023, 'u') + '\0', std::string(1023, 'u')},
      OverrideCase{"OverTheLimit", REG_SZ, std::string(1024, 'u') + '\0', ""},
      OverrideCase{"BinaryEndsAtItsFirstZero", REG_BINARY, "http://a/x\0http://b/y"s, "http://a/x"},
      OverrideCase{"BinaryWithoutZero", REG_BINARY, std::string(1024, 'b'), std::string(1024, 'b')},
      OverrideCase{"ExpandStringNotExpanded", REG_EXPAND_SZ, "http://%COMPUTERNAME%/u\0"s,
                   "http://%COMPUTERNAME%/u"},
      OverrideCase{"DwordIsJustBytes", REG_DWORD, "1h\0\0"s, "1h"},
  };
  for (const OverrideCase& c : cases) {
    SetValue(kPelloryKey, kUrlListValueName, c.type, c.data);
    EXPECT_EQ(ReadUrlListOverride(SystemRegistry()), c.expected) << c.name;
  }
}

TEST(UrlListOverride, AbsentValueOrKey) {
  SavedValue saved(kPelloryKey, kUrlListValueName);
  DeleteValue(kPelloryKey, kUrlListValueName);
  EXPECT_EQ(ReadUrlListOverride(SystemRegistry()), "");
  SetValue(kPelloryKey, "Another Value", REG_SZ, "http://x/\0"s);
  EXPECT_EQ(ReadUrlListOverride(SystemRegistry()), "");
  DeleteValue(kPelloryKey, "Another Value");
}

// The older software's key as its own (Unicode) installer made it.
const wchar_t kQuoddyKeyW[] =
    L"SOFTWARE\\Morvane Corporation\\Quoddy \u57FA\u672C\u30BD\u30D5\u30C8\u30A6\u30A7\u30A2";

class QuoddyKey {
 public:
  explicit QuoddyKey(const wchar_t* version) {
    HKEY key = nullptr;
    m_made = RegCreateKeyExW(HKEY_LOCAL_MACHINE, kQuoddyKeyW, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                             &key, nullptr) == ERROR_SUCCESS;
    if (!m_made) return;
    RegSetValueExW(key, L"CurrentVersion", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                   DWORD((wcslen(version) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
  }
  ~QuoddyKey() {
    if (m_made) RegDeleteKeyW(HKEY_LOCAL_MACHINE, kQuoddyKeyW);
  }
  bool Made() const { return m_made; }

 private:
  bool m_made = false;
};

TEST(JaOldSoftwareProbe, ShiftJisNameFindsTheKeyUnderCodePage932) {
  ASSERT_EQ(GetACP(), 932u) << "this suite needs the Japanese system";
  EXPECT_EQ(ReadOldSoftwareVersion(SystemRegistry()), "");
  {
    QuoddyKey installed(L"1.2.0");
    ASSERT_TRUE(installed.Made());
    EXPECT_EQ(ReadOldSoftwareVersion(SystemRegistry()), "1.2.0");
    EXPECT_TRUE(IsOldSoftwareBlocking(ReadOldSoftwareVersion(SystemRegistry())));
  }
  {
    QuoddyKey installed(L"2.0.0");
    EXPECT_FALSE(IsOldSoftwareBlocking(ReadOldSoftwareVersion(SystemRegistry())));
  }
}

TEST(OldSoftwareProbe, ShiftJisNameFindsNothingUnderCodePage1252) {
  ASSERT_EQ(GetACP(), 1252u) << "this suite needs the English system";
  QuoddyKey installed(L"1.2.0");
  ASSERT_TRUE(installed.Made());
  EXPECT_EQ(ReadOldSoftwareVersion(SystemRegistry()), "");
}

}  // namespace
