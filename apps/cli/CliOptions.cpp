#include "CliOptions.h"

#include <cctype>
#include <charconv>

#include "CliOptionTable.h"
#include "ShownArgument.h"
#include "base/RuntimeError.h"
#include "commandfiles/CommandDelay.h"
#include "scripts/ScriptReader.h"

namespace brelvion::apps::cli {

namespace {

using apps::shownArgument;

const OptionSpec* findOption(std::string_view name) {
  for (const OptionSpec& option : optionTable()) {
    if (name == option.name) return &option;
  }
  return nullptr;
}

bool isHelp(const std::string& arg) { return arg == "--help" || arg == "-h"; }
constexpr const char* kVersionOption = "--version";

// "-x" and "--name" are options; "-" alone and a dash before a digit are words, so that a
// negative count gets the count's own error.
bool looksLikeOption(const std::string& arg) {
  return arg.size() >= 2 && arg[0] == '-' && !std::isdigit(static_cast<unsigned char>(arg[1]));
}

// Applies the option at args[i], taking its value from the next argument when it has no
// "=VALUE"; i then points at the last argument used.
ArgumentError applyOptionAt(const std::vector<std::string>& args, std::size_t& i,
                            ScannedArguments& scanned) {
  const std::string& arg = args[i];
  const std::size_t equals = arg.find('=');
  const std::string name = arg.substr(0, equals);
  const OptionSpec* option = findOption(name);
  if (option == nullptr) {
    if (name == "--help" || name == kVersionOption) return name + " takes no value";
    return "unknown option " + shownArgument(name) + " (--help lists them)";
  }
  const bool takesValue = *option->value != '\0';
  if (!takesValue) {
    if (equals != std::string::npos) return name + " takes no value";
    return option->apply(option->name, {}, scanned);
  }
  if (equals != std::string::npos) {
    return option->apply(option->name, arg.substr(equals + 1), scanned);
  }
  if (i + 1 >= args.size()) return name + " wants a value";
  return option->apply(option->name, args[++i], scanned);
}

}  // namespace

ArgumentError firstError(std::initializer_list<ArgumentError> errors) {
  for (const ArgumentError& error : errors) {
    if (error) return error;
  }
  return std::nullopt;
}

bool CommandOptions::hasAny(std::initializer_list<std::string_view> names) const {
  for (std::string_view name : names) {
    if (has(name)) return true;
  }
  return false;
}

std::optional<std::string> CommandOptions::value(std::string_view name) const {
  const auto found = values_.find(name);
  if (found == values_.end()) return std::nullopt;
  return found->second;
}

std::variant<ScannedArguments, HelpRequest, VersionRequest, ArgumentError> scanArguments(
    const std::vector<std::string>& args) {
  ScannedArguments scanned;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || !looksLikeOption(arg)) {
      scanned.words.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (isHelp(arg)) {
      return HelpRequest{};
    } else if (arg == kVersionOption) {
      return VersionRequest{};
    } else if (auto error = applyOptionAt(args, i, scanned)) {
      return error;
    }
  }
  return scanned;
}

std::optional<int> decimal(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

std::optional<double> delaySeconds(const std::string& text) {
  try {
    return commandfiles::delayFromText(text);
  } catch (const base::RuntimeError&) {
    return std::nullopt;
  }
}

std::optional<int> widthBytes(const CommandOptions& given, std::string_view option) {
  // The option's own check let only 8, 16 and 32 through.
  if (const auto bits = given.value(option)) return std::stoi(*bits) / 8;
  return std::nullopt;
}

std::optional<double> minDelayMs(const std::string& text) {
  double ms = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, ms, std::chars_format::fixed);
  if (text.empty() || ec != std::errc() || ptr != end || !(ms >= 0) ||
      ms > scripts::kLongestWaitMs) {
    return std::nullopt;
  }
  return ms;
}

ArgumentError refuseRegisterOptions(const CommandOptions& given) {
  if (!given.hasAny({"--reg-bits", "--value-bits", "--le", "--map"})) return std::nullopt;
  return "--reg-bits, --value-bits, --le and --map are for write and read; send and dump "
         "keep to one-byte registers";
}

ArgumentError refuseScriptOptions(const CommandOptions& given, bool takesDevice) {
  return firstError({refuseOutput(given), refuseImportOptions(given, takesDevice),
                     refuseExpect(given), refuseKeepGoing(given)});
}

ArgumentError refuseOutput(const CommandOptions& given) {
  if (!given.has("-o")) return std::nullopt;
  return "-o goes with import and export";
}

ArgumentError refuseImportOptions(const CommandOptions& given, bool takesDevice) {
  const bool device = !takesDevice && given.has("--device");
  if (!device &&
      !given.hasAny({"--skip-unknown", "--scl", "--sda", "--min-delay", "--keep-pauses"})) {
    return std::nullopt;
  }
  return "--device, --skip-unknown, --scl, --sda, --min-delay and --keep-pauses go with import";
}

ArgumentError refuseExpect(const CommandOptions& given) {
  if (!given.has("--expect")) return std::nullopt;
  return "--expect goes with import vcd";
}

ArgumentError refuseKeepGoing(const CommandOptions& given) {
  if (!given.has("--keep-going")) return std::nullopt;
  return "--keep-going goes with send FILE.i2cs (a command file always goes on)";
}

ArgumentError refuseForBus(const CommandOptions& given, const CliRequest&) {
  return firstError({refuseRegisterOptions(given), refuseScriptOptions(given)});
}

void appendHelp(std::string& text, const std::string& head, const char* help, std::size_t column) {
  std::string_view lines(help);
  std::string prefix = "  " + head;
  if (prefix.size() + 2 > column) {
    text += prefix + '\n';
    prefix.clear();
  }
  while (!lines.empty()) {
    const std::size_t end = lines.find('\n');
    prefix.resize(column, ' ');
    text += prefix;
    text += lines.substr(0, end);
    text += '\n';
    prefix.clear();
    lines.remove_prefix(end == std::string_view::npos ? lines.size() : end + 1);
  }
}

std::string optionsText() {
  std::string text;
  for (const OptionSpec& option : optionTable()) {
    std::string head = option.name;
    if (*option.value != '\0') head += std::string(" ") + option.value;
    appendHelp(text, head, option.help);
  }
  appendHelp(text, kVersionOption, "Show the program's version.\n");
  appendHelp(text, "-h, --help", "Show this text.\n");
  appendHelp(text, "--", "End of the options: what follows is the command.\n");
  return text;
}

}  // namespace brelvion::apps::cli
