#pragma once
// What the install worker needs of the system and of the other engine services,
// apart from the download page itself (see DownloadPageView.h). Every call is made on
// the worker thread; the adapter may block for as long as the service takes.

#include <cstdint>
#include <string>

class InstallWorkerHost {
 public:
  virtual ~InstallWorkerHost() = default;

  // The administrator's URL-list location from the registry; empty when there is none.
  virtual std::string ReadUrlListOverride() = 0;
  // The system's default language identifier (0x0411 on a Japanese system).
  virtual uint16_t SystemDefaultLangId() = 0;

  // Downloads url into the temporary directory as fileName, with the page's progress bar
  // and the Retry/Cancel question; with verify, the file must also pass the signature
  // check. Returns false when the user gave up or the file was rejected, and has then
  // recorded DownloadFailed itself.
  virtual bool FetchAndVerify(const std::string& fileName, const std::string& url,
                              bool verify) = 0;

  // Switches the process locale to the user's default and opens the local copy of the URL
  // list named fileName. A copy that cannot be opened makes every lookup come back empty.
  virtual void OpenUrlList(const std::string& fileName) = 0;
  // The value of the first entry with this key in the opened list; empty when there is none.
  virtual std::string LookupUrlListValue(const std::string& key) = 0;
  // Closes the local copy once its keys are read, so that a component's file of the same
  // name can be written (an open copy would refuse the download's unshared open).
  virtual void CloseUrlList() = 0;

  // The older reader software's version text; empty when it is not installed.
  virtual std::string ReadOldSoftwareVersion() = 0;

  // Starts the downloaded setup program silently with its response file (both local
  // names) and waits until it ends. False when it could not be started.
  virtual bool RunSetup(const std::string& setupName, const std::string& responseName) = 0;

  // Pauses the worker thread.
  virtual void Sleep(uint32_t milliseconds) = 0;
};
