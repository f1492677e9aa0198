#pragma once
// The checking tool's command line.

#include <string>

constexpr char kCheckUsage[] =
    "usage: PelloryCheck [--json] [URL]\n"
    "         checks the URL list Pellory would fetch on this machine (or URL) and every file\n"
    "         it names, with Pellory's own rules, client and signature check\n"
    "       PelloryCheck mirror DIR --base-url URL [--from URL] [--json]\n"
    "         checks every file any system needs and writes a mirror of them into DIR,\n"
    "         with DIR\\url_list.txt pointing at URL\n"
    "exit status: 0 Pellory would complete (mirror written), 1 it would not, 2 usage\n";

struct CheckArguments {
  bool mirror = false;
  bool json = false;
  std::string listUrl;  // check: the URL given; mirror: --from
  std::string folder;   // mirror only
  std::string baseUrl;  // mirror only
};

// False on a usage error.
bool ParseCheckArguments(int argc, const char* const* argv, CheckArguments& arguments);
