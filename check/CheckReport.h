#pragma once
// What the checking tool found: per file, the rules that need no network, the transfer
// with Pellory's client, and for setup programs the signature check; for the whole run,
// whether Pellory would complete on this machine.

#include <cstdint>
#include <string>
#include <vector>

struct RuleResult {
  std::string rule;  // "entry", "url length", "scheme", "local name", "destination", "collision"
  bool ok = true;
  std::string text;
};

struct TransferReport {
  bool ran = false;
  int32_t code = 0;  // Pellory's combined code
  int32_t startCode = 0;
  uint32_t lastError = 0;  // the platform's error number behind the code, if any
  std::string text;        // what the code means and what to fix
  uint32_t status = 0;     // 0: no status was read
  bool hasContentLength = false;
  uint32_t contentLength = 0;
  uint32_t bytes = 0;
  uint32_t milliseconds = 0;
  std::string proxy;
  std::string localPath;  // in the tool's own folder
};

struct SignatureReport {
  bool checked = false;
  int32_t code = 0;  // Pellory's verdict: 0 accepted
  std::string text;
  int32_t trustVerdict = 0;
  std::string trustText;
  std::string signer;  // empty when it could not be read
  bool requiredSigner = false;
};

struct EntryReport {
  std::string key;
  std::string url;
  std::string localName;
  std::string pin = "none";  // "matches" once the held file showed its pin's digest, or "differs"
  bool fetched = false;      // Pellory fetches it on this system (on any system for a mirror)
  bool setupProgram = false;
  std::vector<RuleResult> rules;
  TransferReport transfer;
  SignatureReport signature;
  bool ok = true;  // passes everything Pellory asks of it (always true when not fetched)
};

struct CheckReport {
  std::string mode = "check";  // or "mirror"
  uint16_t langId = 0;
  std::string pelloryFolder;  // the working folder Pellory would make, its digits as x
  bool keepsFolderPermissions = true;
  std::string workFolder;
  std::string listUrl;
  std::string listSource;  // "registry override", "built-in ...", "command line"
  std::string listName;
  std::string listPin = "none";
  std::vector<RuleResult> listRules;
  TransferReport listTransfer;
  bool listOk = false;
  std::vector<EntryReport> entries;     // Pellory's order; empty when the list failed
  std::vector<std::string> components;  // those Pellory installs here
  std::vector<std::string> problems;    // one line per failure, in Pellory's order
  bool complete = false;
  std::string summary;
  // Mirror only.
  std::string mirrorFolder;
  std::string mirrorListUrl;  // pinned once the list is written
  bool mirrorWritten = false;
  std::vector<std::string> registryCommands;
};
