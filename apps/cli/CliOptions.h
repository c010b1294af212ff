#pragma once

#include <cstddef>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "CliRequest.h"

namespace brelvion::apps::cli {

// The usage error's message, or nothing.
using ArgumentError = std::optional<std::string>;

// The first of errors found in order, or nothing.
ArgumentError firstError(std::initializer_list<ArgumentError> errors);

// The options that only some commands take, as given, each value already checked by its
// option; the last of an option given twice wins. A command takes the ones it uses; those
// it does not take are refused with the message of their group.
class CommandOptions {
 public:
  // name is the option table's own, which outlives every CommandOptions.
  void set(std::string_view name, std::string value) { values_[name] = std::move(value); }
  bool has(std::string_view name) const { return values_.count(name) != 0; }
  bool hasAny(std::initializer_list<std::string_view> names) const;
  std::optional<std::string> value(std::string_view name) const;

 private:
  std::map<std::string_view, std::string> values_;
};

// The arguments with their options taken out: the command and its arguments, in order.
struct ScannedArguments {
  SessionOptions session;
  CommandOptions given;
  std::vector<std::string> words;
};

struct HelpRequest {};
struct VersionRequest {};

// Options may come anywhere; "--" ends them. --help and --version are answered as they
// come; a value an option does not take is refused in the order given.
std::variant<ScannedArguments, HelpRequest, VersionRequest, ArgumentError> scanArguments(
    const std::vector<std::string>& args);

// Shared by the commands' parsers: a decimal number, --delay's seconds, --min-delay's
// milliseconds, as their options take them.
std::optional<int> decimal(const std::string& text);
std::optional<double> delaySeconds(const std::string& text);
std::optional<double> minDelayMs(const std::string& text);
// --reg-bits or --value-bits as the bytes a register format counts, when given.
std::optional<int> widthBytes(const CommandOptions& given, std::string_view option);

// The refusals of options given to a command that does not take them.
ArgumentError refuseRegisterOptions(const CommandOptions& given);
// -o, the import options (--device aside when the command takes it), --expect and
// --keep-going, in that order.
ArgumentError refuseScriptOptions(const CommandOptions& given, bool takesDevice = false);
ArgumentError refuseOutput(const CommandOptions& given);
ArgumentError refuseImportOptions(const CommandOptions& given, bool takesDevice = false);
ArgumentError refuseExpect(const CommandOptions& given);
ArgumentError refuseKeepGoing(const CommandOptions& given);
// dump, scan, ports and recover, which take the options of the bus alone: the register
// options, then the script options.
ArgumentError refuseForBus(const CommandOptions& given, const CliRequest& request);

// The options with their explanations, as --help shows them.
std::string optionsText();

// "  head" and help's lines, these from column on (or below head when it reaches there).
void appendHelp(std::string& text, const std::string& head, const char* help,
                std::size_t column = 22);

}  // namespace brelvion::apps::cli
