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

// The services the tool works through; they must outlive the call.
struct CheckPlatform {
  DownloadPlatform download;
  Trust* trust = nullptr;
  Registry* registry = nullptr;
  SystemInfo* system = nullptr;
  HttpProxy* proxy = nullptr;
  Folders* folders = nullptr;
  PrivateFolders* privateFolders = nullptr;  // where Pellory would make its working folder
};

struct CheckOptions {
  std::string listUrl;     // empty: the list Pellory would fetch here
  std::string workFolder;  // the tool's own downloads
  bool anySystem = false;  // every file some system fetches (for a mirror)
  std::function<void(const std::string& key, int percent)> progress;
};

// The tool's own folder under the temporary folder (never Pellory's files).
std::string CheckWorkFolder(const std::string& tempPath);

CheckReport RunCheck(const CheckPlatform& platform, const CheckOptions& options);

// Checks the list and every file any system needs, then writes the mirror into folder:
// each file under its local name and url_list.txt pointing at baseUrl. Writes nothing
// when anything fails.
CheckReport RunMirror(const CheckPlatform& platform, const CheckOptions& options,
                      const std::string& folder, const std::string& baseUrl);
