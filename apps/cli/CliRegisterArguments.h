#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CliOptions.h"
#include "CliRequest.h"

namespace brelvion::apps::cli {

// The parsers of write and read, in a register format of their own or by name, and the
// argument helpers the other commands share with them.

// SUB and DATA in the design's format: one or two hex digits.
ArgumentError hexArgument(const std::string& text, const char* what, std::int16_t& target);

// A device address as DEV or --device (what) gives it, kept as the 8-bit write address:
// given as that, or with sevenBit as the 7-bit address.
ArgumentError addressArgument(const std::string& text, const char* what, bool sevenBit,
                              std::int16_t& device);

// --device, when given, read as addressArgument reads it (import and the map's commands).
ArgumentError deviceOption(const CommandOptions& given, bool sevenBit,
                           std::optional<std::int16_t>& device);

// write DEV SUB DATA and read DEV SUB [N]; under --map, write [DEV] NAME DATA and
// read [DEV] NAME, whose number of arguments they check themselves.
ArgumentError parseWrite(const std::vector<std::string>& arguments, const CommandOptions& given,
                         CliRequest& request);
ArgumentError parseRead(const std::vector<std::string>& arguments, const CommandOptions& given,
                        CliRequest& request);

// What write and read do not take: -o and the options of import and of scripts.
ArgumentError refuseForRegisters(const CommandOptions& given, const CliRequest& request);

}  // namespace brelvion::apps::cli
