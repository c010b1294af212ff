#include "CliFileCommands.h"

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>

#include "CliByteCommands.h"
#include "CliRun.h"
#include "base/UserFile.h"
#include "commandfiles/Dump.h"
#include "commandfiles/Sender.h"
#include "commandfiles/TmpFile.h"
#include "i2c/DeviceAddress.h"

namespace brelvion::apps::cli {

namespace {

// A directory of the companion's own for the command file's copy, removed with the copy.
class PrivateDirectory {
 public:
  PrivateDirectory() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/brelvion-i2c-cli-XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) {
      path_ = pattern;
    } else {
      error_ = "cannot make a directory for the command file's copy in " +
               pattern.substr(0, pattern.rfind('/')) + ": " + std::strerror(errno);
    }
  }
  ~PrivateDirectory() {
    if (!path_.empty()) ::rmdir(path_.c_str());
  }
  PrivateDirectory(const PrivateDirectory&) = delete;
  PrivateDirectory& operator=(const PrivateDirectory&) = delete;

  const std::string& path() const { return path_; }
  const std::string& error() const { return error_; }

 private:
  std::string path_;
  std::string error_;
};

// Deletes the copy however the send ends.
struct CopyRemover {
  core::ToolCore& core;
  ~CopyRemover() { commandfiles::cleanUp(core); }
};

// Standard input's text, kept in the private directory while it is sent, since the copy is
// made from a file; removed however the send ends.
class InputKeeper {
 public:
  InputKeeper(const PrivateDirectory& directory, const std::string& text)
      : path_(directory.path() + "/standard-input") {
    base::writeUserFile(path_, text, "send");
  }
  ~InputKeeper() { ::unlink(path_.c_str()); }
  InputKeeper(const InputKeeper&) = delete;
  InputKeeper& operator=(const InputKeeper&) = delete;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace

int runSend(core::ToolCore& core, const CommandFileSource& source, double delay, base::Clock& clock,
            std::ostream& out, std::ostream& err, bool sevenBit) {
  PrivateDirectory directory;
  if (directory.path().empty()) {
    err << "brelvion-i2c-cli: " << directory.error() << '\n';
    return kExitUsageOrPortError;
  }
  std::optional<InputKeeper> input;
  if (source.text) input.emplace(directory, *source.text);
  CopyRemover remover{core};
  const std::string& file = input ? input->path() : source.file;
  if (commandfiles::createTmpFile(core, file, directory.path())) return kExitUsageOrPortError;

  commandfiles::SendOptions options;
  options.commandDelay = delay;
  commandfiles::SendHooks hooks;
  hooks.clock = &clock;
  hooks.reported = [&](const scripts::CommandReport& report) {
    const scripts::Step& write = report.step;
    out << i2c::ParsedAddress::fromByte(write.target.device).text(i2c::addressForm(sevenBit))
        << ' ' << hexByte(static_cast<int>(write.reg)) << ' '
        << hexByte(static_cast<int>(write.value))
        << (report.result == scripts::CommandResult::Done ? " ACK" : " NO ACK") << '\n';
  };
  // Nobody reads the writes any more (a closed pipe, a full disk): stop writing registers.
  hooks.stopRequested = [&] { return !out.flush(); };
  const commandfiles::SendOutcome outcome =
      commandfiles::sendCommandFile(core, core.values().tmpFileName, options, hooks);
  if (!out.flush()) {
    err << "brelvion-i2c-cli: cannot write standard output: the send was stopped after write "
        << outcome.writes << '\n';
    return kExitUsageOrPortError;
  }
  if (outcome.end == commandfiles::SendEnd::Failed) return kExitUsageOrPortError;
  return outcome.unacknowledged == 0 ? kExitAcknowledged : kExitNotAcknowledged;
}

int runDump(bus::BusMaster& master, i2c::AfterMessage pointerThen, desktop::Desktop& desktop,
            std::int16_t device, std::int16_t last, const std::string& file) {
  commandfiles::DumpHooks hooks;
  hooks.onlyAcknowledged = true;
  const commandfiles::DumpOutcome outcome =
      commandfiles::dumpRegisters(master, pointerThen, desktop, device, last, file, hooks);
  if (outcome.failure) return kExitUsageOrPortError;
  return outcome.acknowledged ? kExitAcknowledged : kExitNotAcknowledged;
}

}  // namespace brelvion::apps::cli
