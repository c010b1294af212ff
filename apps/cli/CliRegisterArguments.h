#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "CliArguments.h"

namespace brelvion::apps::cli {

// The parts of the companion's parser that deal with register formats and names. Each
// returns the usage error's message, or nothing.
using ArgumentError = std::optional<std::string>;

// DEV, and SUB and DATA in the design's format: one or two hex digits.
ArgumentError hexArgument(const std::string& text, const char* what, std::int16_t& target);

// DEV as the tool keeps it, the 8-bit write address, whether given as that or, with
// --7bit, as the 7-bit address.
ArgumentError deviceArgument(const std::string& text, CliRequest& request);
// The same for the device argument what names ("--device").
ArgumentError deviceArgument(const std::string& text, const char* what, CliRequest& request);

// SUB or DATA of a register format: up to bits / 4 hex digits (the design's one or two
// without a width option).
ArgumentError registerArgument(const std::string& text, const char* what,
                               std::optional<int> bits, const char* option,
                               std::int32_t& target);
ArgumentError registerArgument(const std::string& text, const char* what,
                               std::optional<int> bits, const char* option,
                               std::int64_t& target);

// write [DEV] NAME DATA and read [DEV] NAME, under --map. words[0] is the command.
ArgumentError applyByName(const std::vector<std::string>& words, CliRequest& request);

// --reg-bits, --value-bits, --le and --map belong to write and read alone.
ArgumentError checkRegisterOptions(const CliRequest& request);

ArgumentError applyRegisterBits(const std::string& value, CliRequest& request);
ArgumentError applyValueBits(const std::string& value, CliRequest& request);
ArgumentError applyLittleEndian(const std::string& value, CliRequest& request);
ArgumentError applyMap(const std::string& value, CliRequest& request);

}  // namespace brelvion::apps::cli
