#pragma once
// The checking tool's two commands over Pellory's own core: the URL-list location,
// reader and file-name rule, the download client and the signature check.

#include <functional>
#include <string>

#include "check/CheckReport.h"
#include "net/DownloadClient.h"
#include "platform/Folders.h"
#include "platform/HttpProxy.h"
#include "platform/PrivateFolders.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "platform/Trust.h"
#include "platform/UserAccount.h"

// The services the tool works through; they must outlive the call.
struct CheckPlatform {
  DownloadPlatform download;
  Trust* trust = nullptr;
  Registry* registry = nullptr;
  SystemInfo* system = nullptr;
  HttpProxy* proxy = nullptr;
  Folders* folders = nullptr;
  PrivateFolders* privateFolders = nullptr;  // Pellory's working folder, and the tool's own
  UserAccount* user = nullptr;
};

struct CheckOptions {
  std::string listUrl;     // empty: the list Pellory would fetch here
  bool anySystem = false;  // every file some system fetches (for a mirror)
  std::function<void(const std::string& key, int percent)> progress;
};

CheckReport RunCheck(const CheckPlatform& platform, const CheckOptions& options);

// Checks the list and every file any system needs, then writes the mirror into folder, which
// it creates or which must be empty: each file made new under its local name, and
// url_list.txt pointing at baseUrl. Writes nothing when anything fails.
CheckReport RunMirror(const CheckPlatform& platform, const CheckOptions& options,
                      const std::string& folder, const std::string& baseUrl);
