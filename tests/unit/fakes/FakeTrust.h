#pragma once
// The trust questions, scripted: by default a present file, trusted, signed by the
// required publisher. Records which questions were asked.

#include <functional>
#include <string>
#include <vector>

#include "platform/Trust.h"

class FakeTrust : public Trust {
 public:
  bool exists = true;
  TrustStep trustStep = TrustStep::Answered;   // PathNotConverted, or Answered with the verdict
  int32_t trustVerdict = 0;                    // e.g. TRUST_E_NOSIGNATURE, CERT_E_UNTRUSTEDROOT
  TrustStep signerStep = TrustStep::Answered;  // where reading the signer stops
  std::string displayName = "Morvane Corporation";
  std::function<void()> onExists;  // runs when the check first looks at the file

  bool FileExists(const char* path) override {
    calls.push_back("exists");
    lastPath = path;
    if (onExists) onExists();
    return exists;
  }
  TrustVerdict VerifyTrust(const char*) override {
    calls.push_back("trust");
    return {trustStep, trustStep == TrustStep::Answered ? trustVerdict : 0, {}};
  }
  TrustVerdict ReadSigner(const char*) override {
    calls.push_back("signer");
    if (signerStep != TrustStep::Answered) return {signerStep, 0, {}};
    return {TrustStep::Answered, 0, displayName};
  }

  std::vector<std::string> calls;
  std::string lastPath;
};
