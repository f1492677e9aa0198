#pragma once
// The run's working folder. An elevated program takes TMP and TEMP from the user's own
// environment, which every unelevated program of that user can change, and the user's
// temporary folder is theirs to write: a DLL planted there loads into a setup program
// started from it, and a file there can be swapped or rewritten. So every file of the
// run goes into a new folder "Pellory.<8 random hex digits>" directly inside the Windows
// folder's Temp, owned by Administrators, writable by SYSTEM and Administrators only,
// and held open so that it cannot be renamed away while the run uses its name.

#include <string>

#include "platform/Owner.h"
#include "platform/PrivateFolders.h"

// Owner Administrators; a protected access list (nothing inherited) granting full control
// to SYSTEM and Administrators, for the folder and everything made in it, and nothing else.
constexpr char kWorkFolderSddl[] = "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

// "<windowsFolder>\Temp\Pellory.<hexDigits>\" (eight digits of a random number); empty
// without a Windows folder.
std::string WorkFolderPath(const std::string& windowsFolder, const std::string& hexDigits);
// Where the run's folders are made: "<windowsFolder>\Temp\".
std::string WorkFolderParent(const std::string& windowsFolder);

struct FolderCloser {
  PrivateFolders* folders = nullptr;
  void operator()(FolderHandle folder) const { folders->Close(folder); }
};

class WorkFolder {
 public:
  WorkFolder() = default;
  // Pellory's own: "Pellory.<8 hex>" in the Windows folder's Temp, administrators only.
  static WorkFolder Create(PrivateFolders& folders);
  // A folder made by this call directly in `parent` (which ends with its backslash) under a
  // fresh name, `prefix` and eight random hex digits, and held; a name that exists already
  // (a file, folder or link) is never used. With administratorsOnly it is made with
  // kWorkFolderSddl, which is read back; without, it takes what the parent passes on.
  // After a few names, or when the folder made is not what was asked for, there is none.
  static WorkFolder Create(PrivateFolders& folders, const std::string& parent,
                           const std::string& prefix, bool administratorsOnly);

  // The folder with its trailing backslash; empty when there is none.
  const std::string& Path() const { return m_path; }

 private:
  Owner<FolderHandle, FolderCloser> m_held;
  std::string m_path;
};
