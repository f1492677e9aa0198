#pragma once
// Which component files a run fetches, in which order and under which local names. The
// install worker fetches by it and PelloryCheck reports by it, so both judge a list alike.

#include <cstddef>
#include <string>
#include <vector>

#include "engine/Components.h"
#include "engine/UrlList.h"
#include "net/LocalNames.h"

enum class NameVerdict {
  Usable,
  NoName,        // the URL gives no plain file name (FileNameFromUrl)
  NotOfItsKind,  // not ".iss" for a response file, not ".exe" for a setup program
  Taken,         // an earlier file that the run fetches has the same local name
  Unpinned,      // the list came through a pinned URL, and so must pin every file it names
};

struct PlannedFile {
  std::size_t component = 0;
  ComponentFileKind kind = ComponentFileKind::ResponseFile;
  const char* key = "";
  std::string url;
  std::string name;  // as the URL gives it
  Pin pin;
  bool fetched = false;
  NameVerdict verdict = NameVerdict::Usable;
  std::size_t takenBy = 0;  // with Taken: the earlier file's place in the plan

  // The name the file is fetched under; empty (a fetch that cannot start) unless usable.
  std::string LocalName() const { return verdict == NameVerdict::Usable ? name : std::string(); }
};

// Every component's two files in the table's order, response file first. Those of the components in
// `fetched` are judged against the earlier fetched ones: one name, one file, so that no component
// runs with another's file and a verified program is never overwritten. The list's own name takes
// part in nothing: its copy is read and closed first. A pinned list's pins reach no further than
// the files it pins: with listPinned, a fetched file without a pin gets no name.
std::vector<PlannedFile> PlanComponentFiles(const UrlListEntries& entries,
                                            const ComponentSelection& fetched, bool listPinned);
