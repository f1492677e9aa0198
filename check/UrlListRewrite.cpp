#include "check/UrlListRewrite.h"

#include <set>

namespace {

// The reader's separators. The tool reads its result back with the reader itself, so a
// difference here would refuse a mirror rather than write a wrong one.
bool IsSeparator(unsigned char byte) { return byte == 0x20 || (byte >= 0x09 && byte <= 0x0D); }

}  // namespace

std::string RewriteUrlList(const std::string& list,
                           const std::map<std::string, std::string>& urls) {
  std::string result;
  result.reserve(list.size());
  std::set<std::string> done;
  std::string::size_type i = 0;
  while (i < list.size()) {
    if (IsSeparator(static_cast<unsigned char>(list[i]))) {
      result.push_back(list[i++]);
      continue;
    }
    std::string::size_type end = i;
    while (end < list.size() && !IsSeparator(static_cast<unsigned char>(list[end]))) ++end;
    const std::string token = list.substr(i, end - i);
    const std::string::size_type comma = token.find(',');
    const auto found = comma == std::string::npos ? urls.end() : urls.find(token.substr(0, comma));
    if (found != urls.end() && done.insert(found->first).second) {
      result += token.substr(0, comma + 1) + found->second;
    } else {
      result += token;
    }
    i = end;
  }
  return result;
}
