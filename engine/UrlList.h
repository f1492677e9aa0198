#pragma once
// The URL list: a small text file that names, per component, the URLs of its silent
// response file and of its setup program. Where it comes from, how it is read, and how
// a local file name is taken from a URL.

#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "engine/Components.h"
#include "net/LocalNames.h"
#include "net/Pin.h"
#include "platform/Owner.h"
#include "platform/Registry.h"

#ifndef PELLORY_URL_HOST
#error "PELLORY_URL_HOST must name the host of the built-in URL-list locations"
#endif

constexpr char kUrlListHost[] = PELLORY_URL_HOST;
constexpr char kUrlListPathJapanese[] = "/Products/tarvek/pcrw/driver/pellory/ja/url_list.txt";
constexpr char kUrlListPathOther[] = "/Products/tarvek/pcrw/driver/pellory/en/url_list.txt";

std::string BuiltInUrlListUrl(uint16_t langId);

// The registry override (ReadUrlListOverride) when it is not empty, used exactly as stored,
// else the built-in location; and where that came from, in words.
struct UrlListChoice {
  std::string url;
  const char* source;  // "registry override" or "built-in location for ..."
};
UrlListChoice ChooseUrlList(Registry& registry, uint16_t langId);

// The process locale for all categories becomes the user's default (setlocale with ""), as
// it is before a list is read.
void UseUserLocale();

// Any run of these bytes (blank, tab, line feed, vertical tab, form feed, carriage return)
// separates two tokens of the list; line structure means nothing else.
bool IsUrlListSeparator(int byte);

// The value of the first entry of `list` whose key is `key`, or empty when there is
// none or `list` is null. Every call reads again from the first byte.
std::string LookupUrlListValue(std::FILE* list, const std::string& key);

// URLs, local names and pins of one component's two files; the URLs without their pins.
struct ComponentFiles {
  std::string responseUrl;
  std::string responseName;
  std::string setupUrl;
  std::string setupName;
  Pin responsePin;
  Pin setupPin;
};

// The files of the components, in the order of kComponents.
using UrlListEntries = std::array<ComponentFiles, kComponentCount>;

// Looks up all six keys (CVN_ISS, CVN_EXE, PM_ISS, PM_EXE, TSL_ISS, TSL_EXE, in this
// order) through `lookup`, and the pin and the local name of each URL.
UrlListEntries ReadUrlListEntries(const std::function<std::string(const std::string& key)>& lookup);

// The local copy of the list, opened for reading byte for byte (binary mode: no
// line-end translation, no stop at a Ctrl-Z) and closed when this goes away. A copy
// that cannot be opened finds nothing.
class UrlListCopy {
 public:
  UrlListCopy() = default;
  explicit UrlListCopy(const std::string& path) : m_file(OpenStdioFile(path.c_str(), "rb")) {}

  std::string Lookup(const std::string& key) const { return LookupUrlListValue(m_file.Get(), key); }
  UrlListEntries ReadEntries() const {
    return ReadUrlListEntries([this](const std::string& key) { return Lookup(key); });
  }

 private:
  StdioFile m_file;
};
