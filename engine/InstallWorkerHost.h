#pragma once
// The install worker's steps that reach beyond its own order of work: the run's working
// folder, the fetch step, the local copy of the URL list and the setup runner.
// InstallWorkerServices carries them out over the platform interfaces; the worker's tests script
// them. Every call is made on the worker thread and may block for as long as the step takes.

#include <string>

#include "net/FetchAndVerify.h"

class InstallWorkerHost {
 public:
  virtual ~InstallWorkerHost() = default;

  // Makes the run's private working folder; without it every fetch is one that cannot start.
  virtual void MakeWorkFolder() = 0;

  // Downloads url into the working folder as fileName, with the page's progress bar
  // and the Retry/Cancel question; with verify, the file must also pass the signature check,
  // and with a pin, have its digest.
  virtual FetchVerdict FetchAndVerify(const std::string& fileName, const std::string& url,
                                      bool verify, const FilePin& pin = {}) = 0;

  // Switches the process locale to the user's default and opens the local copy of the URL
  // list named fileName. A copy that cannot be opened makes every lookup come back empty.
  virtual void OpenUrlList(const std::string& fileName) = 0;
  // The value of the first entry with this key in the opened list; empty when there is none.
  virtual std::string LookupUrlListValue(const std::string& key) = 0;
  // Closes the local copy once its keys are read, so that a component's file of the same
  // name can be written (an open copy would refuse the download's unshared open).
  virtual void CloseUrlList() = 0;

  // Starts the downloaded setup program silently with its response file (both local
  // names), shows the page, and waits until the program ends; the response file stays
  // held until then. False when it could not be started.
  virtual bool RunSetup(const std::string& setupName, const std::string& responseName) = 0;
};
