#include "deploy/DeployArguments.h"

#include <cstdlib>

#include "deploy/DeployRun.h"
#include "net/LocalNames.h"

namespace {

constexpr uint32_t kMostRetries = 100;

bool ParseCount(const char* text, uint32_t most, uint32_t& value) {
  if (text == nullptr || *text < '0' || *text > '9') return false;
  char* end = nullptr;
  const unsigned long parsed = std::strtoul(text, &end, 10);
  if (*end != '\0' || parsed > most) return false;
  value = static_cast<uint32_t>(parsed);
  return true;
}

std::vector<std::string> SplitNames(const std::string& list) {
  std::vector<std::string> names;
  std::string::size_type start = 0;
  for (;;) {
    const std::string::size_type comma = list.find(',', start);
    names.push_back(list.substr(start, comma - start));
    if (comma == std::string::npos) return names;
    start = comma + 1;
  }
}

}  // namespace

bool ParseDeployArguments(int argc, const char* const* argv, DeployArguments& arguments,
                          std::string& error) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "--help" && argc == 2) {
    arguments.command = DeployCommand::Help;
    return true;
  }
  if (command != "install" && command != "licences") {
    error = command.empty() ? "no command" : "unknown command \"" + command + "\"";
    return false;
  }
  const bool install = command == "install";
  arguments.command = install ? DeployCommand::Install : DeployCommand::Licences;
  bool chosen = false;
  for (int i = 2; i < argc; ++i) {
    const std::string option = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    const bool takesValue = option == "--components" || (install && (option == "--log" ||
                                                                      option == "--retries" ||
                                                                      option == "--retry-wait"));
    if (takesValue && value == nullptr) {
      error = option + " needs a value";
      return false;
    }
    if (option == "--complete" || option == "--components") {
      if (chosen) {
        error = "--complete and --components name the components once, together";
        return false;
      }
      chosen = true;
      arguments.complete = option == "--complete";
      if (!arguments.complete) arguments.components = SplitNames(value);
    } else if (install && option == "--accept-licences") {
      arguments.acceptLicences = true;
    } else if (option == "--log") {
      arguments.logFile = value;
    } else if (option == "--retries") {
      if (!ParseCount(value, kMostRetries, arguments.retries)) {
        error = "--retries takes a count from 0 to " + std::to_string(kMostRetries);
        return false;
      }
    } else if (option == "--retry-wait") {
      if (!ParseCount(value, kLongestRetryWaitSeconds, arguments.retryWaitSeconds)) {
        error = "--retry-wait takes seconds from 0 to " + std::to_string(kLongestRetryWaitSeconds);
        return false;
      }
    } else {
      error = "unknown option \"" + option + "\"";
      return false;
    }
    if (takesValue) ++i;
  }
  if (!chosen) {
    error = "--complete or --components is needed";
    return false;
  }
  if (install && !arguments.acceptLicences) {
    // An organisation accepts the agreements once, knowingly: nothing is installed or
    // requested without it.
    error = "the licence agreements are not accepted: PelloryDeploy licences prints them, "
            "--accept-licences accepts them";
    return false;
  }
  return true;
}

bool ChooseComponents(const DeployArguments& arguments, uint16_t langId,
                      ComponentSelection& selection, std::string& error) {
  if (arguments.complete) {
    selection = CompleteSelection(langId);
    return true;
  }
  selection = {};
  for (const std::string& name : arguments.components) {
    bool known = false;
    for (std::size_t k = 0; k < kComponentCount; ++k) {
      if (UpperAscii(name) != UpperAscii(kComponents[k].name)) continue;
      if (!IsOffered(kComponents[k], langId)) {
        error = std::string(kComponents[k].name) + " is not offered on this system";
        return false;
      }
      known = selection[k] = true;
    }
    if (!known) {
      error = "unknown component \"" + name + "\"";
      return false;
    }
  }
  return true;
}
