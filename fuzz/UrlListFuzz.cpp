// libFuzzer target for the URL-list reader and FileNameFromUrl.
//
// The input is the bytes of a downloaded URL list. Every lookup is checked against a
// second, deliberately naive reading of the same bytes, so that the fuzzer finds wrong
// answers as well as crashes. The keys tried are the six real ones, the key of an entry
// the input chooses, and a key that the input spells out itself.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/UrlList.h"
#include "net/LocalNames.h"

namespace {

[[noreturn]] void Fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "UrlListFuzz: %s [%s]\n", what, detail.c_str());
  std::abort();
}

bool IsSeparator(unsigned char byte) {
  return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\v' || byte == '\f' ||
         byte == '\r';
}

struct Entry {
  std::string key;
  std::string value;
};

// Every token that holds a comma, in file order.
std::vector<Entry> NaiveEntries(const std::string& bytes) {
  std::vector<Entry> entries;
  std::string token;
  auto flush = [&] {
    const std::string::size_type comma = token.find(',');
    if (comma != std::string::npos)
      entries.push_back({token.substr(0, comma), token.substr(comma + 1)});
    token.clear();
  };
  for (unsigned char byte : bytes) {
    if (IsSeparator(byte))
      flush();
    else
      token.push_back(static_cast<char>(byte));
  }
  flush();
  return entries;
}

std::string NaiveLookup(const std::vector<Entry>& entries, const std::string& key) {
  for (const Entry& entry : entries)
    if (entry.key == key) return entry.value;
  return std::string();
}

// The local name must be a plain name inside the temporary directory, and a tail of the
// URL after a "/".
void CheckFileName(const std::string& url) {
  const std::string name = FileNameFromUrl(url);
  if (name.find_first_of("/\\:") != std::string::npos) Fail("name leaves the folder", name);
  if (name == "." || name == "..") Fail("name is the folder or its parent", name);
  if (IsReservedDeviceName(name)) Fail("name opens a device", name);
  if (name.empty()) return;
  if (name.size() >= url.size() || url.compare(url.size() - name.size(), name.size(), name) != 0 ||
      url[url.size() - name.size() - 1] != '/')
    Fail("name is not the part after the last slash", url);
}

void CheckLookup(std::FILE* list, const std::vector<Entry>& entries, const std::string& key) {
  const std::string expected = NaiveLookup(entries, key);
  // Twice: each lookup must start again from the first byte.
  for (int round = 0; round < 2; ++round) {
    const std::string found = LookupUrlListValue(list, key);
    if (found != expected) Fail("lookup differs from the naive reading", key);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<Entry> entries = NaiveEntries(bytes);

  // The lookups must work on a FILE positioned anywhere, with any error or EOF state.
  std::vector<char> buffer(bytes.begin(), bytes.end());
  std::FILE* list = fmemopen(buffer.data(), buffer.size(), "rb");
  if (list == nullptr) Fail("fmemopen failed", std::to_string(size));
  while (std::fgetc(list) != EOF) {
  }

  static const char* const kKeys[] = {"CVN_ISS", "CVN_EXE", "PM_ISS",
                                      "PM_EXE",  "TSL_ISS", "TSL_EXE"};
  for (const char* key : kKeys) CheckLookup(list, entries, key);
  if (!entries.empty()) {
    // The input chooses one of its own entries, often a later duplicate of a key.
    const std::size_t pick = static_cast<unsigned char>(bytes.back()) % entries.size();
    CheckLookup(list, entries, entries[pick].key);
  }
  // A key of arbitrary bytes: the input's first bytes, up to 16 of them.
  CheckLookup(list, entries, bytes.substr(0, bytes.size() < 16 ? bytes.size() : 16));
  CheckLookup(list, entries, std::string());

  const UrlListEntries files =
      ReadUrlListEntries([list](const std::string& key) { return LookupUrlListValue(list, key); });
  for (const ComponentFiles& component : files) {
    if (component.responseName != FileNameFromUrl(component.responseUrl) ||
        component.setupName != FileNameFromUrl(component.setupUrl))
      Fail("entry name is not FileNameFromUrl of its URL", component.setupUrl);
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (files[i].responseUrl != NaiveLookup(entries, kKeys[2 * i]) ||
        files[i].setupUrl != NaiveLookup(entries, kKeys[2 * i + 1]))
      Fail("entries differ from the naive reading", kKeys[2 * i]);
  }
  std::fclose(list);

  for (const Entry& entry : entries) CheckFileName(entry.value);
  CheckFileName(bytes);
  return 0;
}
