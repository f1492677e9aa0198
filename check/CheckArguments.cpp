#include "check/CheckArguments.h"

bool ParseCheckArguments(int argc, const char* const* argv, CheckArguments& arguments) {
  arguments = CheckArguments();
  int i = 1;
  if (i < argc && std::string(argv[i]) == "mirror") {
    arguments.mirror = true;
    ++i;
  }
  bool haveUrl = false;
  for (; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--json") {
      arguments.json = true;
    } else if (arguments.mirror && arg == "--base-url" && hasValue) {
      arguments.baseUrl = argv[++i];
    } else if (arguments.mirror && arg == "--from" && hasValue) {
      arguments.listUrl = argv[++i];
    } else if (arg.empty() || arg[0] == '-') {
      return false;
    } else if (arguments.mirror && arguments.folder.empty()) {
      arguments.folder = arg;
    } else if (!arguments.mirror && !haveUrl) {
      arguments.listUrl = arg;
      haveUrl = true;
    } else {
      return false;
    }
  }
  return !arguments.mirror || (!arguments.folder.empty() && !arguments.baseUrl.empty());
}
