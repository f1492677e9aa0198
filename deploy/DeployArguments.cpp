#include "deploy/DeployArguments.h"

#include <cstdlib>

#include "net/AsciiText.h"

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
  if (command == "--help" && argc == 2) return true;
  const bool install = command == "install";
  arguments.command = install ? DeployCommand::Install : DeployCommand::Licences;
  if (!install && command != "licences") {
    error = command.empty() ? "no command" : "unknown command \"" + command + "\"";
    return false;
  }
  bool chosen = false;
  for (int i = 2; i < argc && error.empty(); ++i) {
    const std::string option = argv[i];
    const bool takesValue =
        option == "--components" ||
        (install && (option == "--log" || option == "--retries" || option == "--retry-wait"));
    if (takesValue && i + 1 == argc) {
      error = option + " needs a value";
      break;
    }
    const char* value = takesValue ? argv[++i] : "";
    if (option == "--complete" || option == "--components") {
      if (chosen) error = "--complete and --components name the components once, together";
      chosen = true;
      arguments.complete = option == "--complete";
      if (!arguments.complete) arguments.components = SplitNames(value);
    } else if (install && option == "--accept-licences") {
      arguments.acceptLicences = true;
    } else if (install && option == "--log") {
      arguments.logFile = value;
    } else if (install && option == "--retries") {
      if (!ParseCount(value, kMostRetries, arguments.retries))
        error = "--retries takes a count from 0 to " + std::to_string(kMostRetries);
    } else if (install && option == "--retry-wait") {
      if (!ParseCount(value, kLongestRetryWaitSeconds, arguments.retryWaitSeconds))
        error = "--retry-wait takes seconds from 0 to " + std::to_string(kLongestRetryWaitSeconds);
    } else {
      error = "unknown option \"" + option + "\"";
    }
  }
  if (error.empty() && !chosen) error = "--complete or --components is needed";
  // An organisation accepts the agreements once, knowingly: nothing is installed or
  // requested without it.
  if (error.empty() && install && !arguments.acceptLicences)
    error =
        "the licence agreements are not accepted: PelloryDeploy licences prints them, "
        "--accept-licences accepts them";
  return error.empty();
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
      if (!SameIgnoringAsciiCase(name, kComponents[k].name)) continue;
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
