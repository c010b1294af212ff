#pragma once

#include <yaml-cpp/yaml.h>

#include <string>

namespace brelvion::registers {

// The one document of a description's YAML text, read without yaml-cpp 0.7's LoadAll,
// which loops for ever, taking memory as it goes, on a stray ',' or '}' after or instead
// of a document (yaml-cpp issue 1040, fixed after 0.7). Refuses, as errors 321 naming file,
// line and column: text nested deeper than a description nests (NestingGuard.h), text that
// is not YAML, text without a document, and text after the first document.
YAML::Node loadOneDocument(const std::string& text, const std::string& file);

}  // namespace brelvion::registers
