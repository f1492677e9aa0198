#pragma once
// The checking tool's two commands over Pellory's own core: the URL-list location,
// reader and file-name rule, the download client and the signature check.

#include <functional>
#include <string>

#include "check/CheckReport.h"
#include "platform/InstallPlatform.h"

struct CheckOptions {
  std::string listUrl;     // empty: the list Pellory would fetch here
  bool anySystem = false;  // every file some system fetches (for a mirror)
  std::function<void(const std::string& key, int percent)> progress;
};

CheckReport RunCheck(const InstallPlatform& platform, const CheckOptions& options);

// Checks the list and every file any system needs, then writes the mirror into folder, which
// it creates or which must be empty: each file made new under its local name, and
// url_list.txt pointing at baseUrl. Writes nothing when anything fails.
CheckReport RunMirror(const InstallPlatform& platform, const CheckOptions& options,
                      const std::string& folder, const std::string& baseUrl);
