#pragma once
// The deploy tool's command line, and the components it names on this system.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/Components.h"

constexpr char kDeployUsageText[] =
    "usage: PelloryDeploy install --accept-licences (--complete | --components NAME[,NAME...])\n"
    "                             [--log FILE] [--retries N] [--retry-wait SECONDS]\n"
    "         Pellory's installation, unattended: no window, no question\n"
    "       PelloryDeploy licences (--complete | --components NAME[,NAME...])\n"
    "         prints the licence agreements that --accept-licences accepts\n"
    "       PelloryDeploy --help\n"
    "components: Corvane, and Tessaline on a Japanese system (any case)\n"
    "exit status: 3010 installed, restart needed; 1602 cancelled; 1603 failed; 1618 another\n"
    "  Pellory or PelloryDeploy is running; 1638 older reader software blocks it; 1639 usage\n";

enum class DeployCommand { Help, Licences, Install };

struct DeployArguments {
  DeployCommand command = DeployCommand::Help;
  bool acceptLicences = false;
  bool complete = false;
  std::vector<std::string> components;  // as given
  std::string logFile;                  // empty: standard output only
  uint32_t retries = 3;
  uint32_t retryWaitSeconds = 10;
};

// False on a usage error, with the reason in error; whatever was read before it is kept
// (the log file among it, so that the refusal can be logged).
bool ParseDeployArguments(int argc, const char* const* argv, DeployArguments& arguments,
                          std::string& error);

// The components the arguments choose on a system of this language: those a complete
// installation takes here, or each one named, which must be one this system offers.
bool ChooseComponents(const DeployArguments& arguments, uint16_t langId,
                      ComponentSelection& selection, std::string& error);
