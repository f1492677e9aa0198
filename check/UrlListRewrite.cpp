#include "check/UrlListRewrite.h"

#include <set>

#include "engine/UrlList.h"

std::string RewriteUrlList(const std::string& list,
                           const std::map<std::string, std::string>& urls) {
  std::string result;
  result.reserve(list.size());
  std::set<std::string> done;
  std::string::size_type i = 0;
  while (i < list.size()) {
    if (IsUrlListSeparator(static_cast<unsigned char>(list[i]))) {
      result.push_back(list[i++]);
      continue;
    }
    std::string::size_type end = i;
    while (end < list.size() && !IsUrlListSeparator(static_cast<unsigned char>(list[end]))) ++end;
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
