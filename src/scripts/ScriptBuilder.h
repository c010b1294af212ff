#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "scripts/Script.h"

namespace brelvion::scripts {

// Builds a script from bus commands and their settings, as the importers find them: the
// device, regbits and valbits lines are written only where the settings change.
class ScriptBuilder {
 public:
  // A bus command under target, after the setting lines it needs.
  void command(const Target& target, Statement statement);
  void delay(std::uint32_t ms, std::string comment = {});
  void comment(std::string text);

  // The settings of the last bus command; nothing before the first.
  bool started() const { return started_; }
  const Target& target() const { return target_; }
  const Script& script() const { return script_; }
  // The last bus command added, to give it a comment found after it; null before the first.
  Statement* lastCommand() {
    return lastCommand_ < script_.statements.size() ? &script_.statements[lastCommand_] : nullptr;
  }
  Script take() { return std::move(script_); }

 private:
  Script script_;
  Target target_;
  bool started_ = false;
  std::size_t lastCommand_ = static_cast<std::size_t>(-1);
};

}  // namespace brelvion::scripts
