#pragma once

#include <span>
#include <string>
#include <string_view>

#include "CliOptions.h"

namespace brelvion::apps::cli {

// One option of the companion: how --help shows it, and how its value is checked and kept.
struct OptionSpec {
  const char* name;
  // What the usage shows after the name; empty for an option that takes no value.
  const char* value;
  // Lines of the help text, each already within the width of the usage text.
  const char* help;
  // Checks the value and applies it: to the session for the options every command takes,
  // to the options given for the others.
  ArgumentError (*apply)(std::string_view name, const std::string& value,
                         ScannedArguments& scanned);
};

// Every option, in the order --help lists them.
std::span<const OptionSpec> optionTable();

}  // namespace brelvion::apps::cli
