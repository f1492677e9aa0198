#include "engine/UrlList.h"

#include <clocale>
#include <utility>

#include "engine/HklmString.h"
#include "engine/InstallSession.h"

namespace {

bool ReadToken(std::FILE* list, std::string& token) {
  int byte = std::getc(list);
  while (byte != EOF && IsUrlListSeparator(byte)) byte = std::getc(list);
  if (byte == EOF) return false;
  token.clear();
  while (byte != EOF && !IsUrlListSeparator(byte)) {
    token.push_back(static_cast<char>(byte));
    byte = std::getc(list);
  }
  return true;
}

}  // namespace

void UseUserLocale() { std::setlocale(LC_ALL, ""); }

bool IsUrlListSeparator(int byte) { return byte == 0x20 || (byte >= 0x09 && byte <= 0x0D); }

std::string BuiltInUrlListUrl(uint16_t langId) {
  const char* path = langId == kLangJapanese ? kUrlListPathJapanese : kUrlListPathOther;
  return std::string("http://") + kUrlListHost + path;
}

UrlListChoice ChooseUrlList(Registry& registry, uint16_t langId) {
  const std::string override = ReadUrlListOverride(registry);
  if (!override.empty()) return {override, "registry override"};
  return {BuiltInUrlListUrl(langId), langId == kLangJapanese
                                         ? "built-in location for Japanese systems"
                                         : "built-in location for other languages"};
}

std::string LookupUrlListValue(std::FILE* list, const std::string& key) {
  if (list == nullptr) return std::string();
  // rewind also forgets the end-of-file and error state of the previous lookup.
  std::rewind(list);
  std::string token;
  while (ReadToken(list, token)) {
    const std::string::size_type comma = token.find(',');
    if (comma != std::string::npos && token.compare(0, comma, key) == 0)
      return token.substr(comma + 1);
  }
  return std::string();
}

UrlListEntries ReadUrlListEntries(
    const std::function<std::string(const std::string& key)>& lookup) {
  UrlListEntries entries;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    ComponentFiles& files = entries[i];
    PinnedUrl response = SplitPin(lookup(kComponents[i].responseKey));
    PinnedUrl setup = SplitPin(lookup(kComponents[i].setupKey));
    files.responseUrl = std::move(response.url);
    files.responseName = FileNameFromUrl(files.responseUrl);
    files.responsePin = response.pin;
    files.setupUrl = std::move(setup.url);
    files.setupName = FileNameFromUrl(files.setupUrl);
    files.setupPin = setup.pin;
  }
  return entries;
}
