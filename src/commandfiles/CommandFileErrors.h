#pragma once

#include <string>
#include <string_view>

#include "base/FileError.h"
#include "base/RuntimeError.h"
#include "desktop/Desktop.h"

namespace brelvion::commandfiles {

// The temporary copy's name; a bare name, so it lives in the current directory.
inline constexpr std::string_view kTmpFileName = "tmpI2C.txt";
inline constexpr std::string_view kCommandFileFilter = "I2C File (*.i2c)|*.i2c";

inline constexpr std::string_view kSendFileErrorTitle = "Send File - Error";
inline constexpr std::string_view kCreateTmpFileErrorTitle = "Create tmpFile - Error";
inline constexpr std::string_view kDelayErrorTitle = "ERROR";
inline constexpr std::string_view kDelayErrorText = "Error, when delay the time.";
inline constexpr std::string_view kCleanUpErrorTitle = "CleanUp - Error:";

inline constexpr std::string_view kDumpTitle = "Dump To File";
inline constexpr std::string_view kDumpErrorTitle = "Dump To File - Error";
inline constexpr std::string_view kDumpNoFileName = "Fill up the file name to dump, please";
inline constexpr std::string_view kDeviceAddressZeroQuestion = "Device address is 0?";
inline constexpr std::string_view kCountZeroQuestion = "Count is 0?";
inline constexpr std::string_view kDefaultDumpFileText = " Dump.i2c";

// Which procedure a failure ended; each has a box of its own. SendScript: a bring-up
// script's run that stopped at a line.
enum class Step {
  SendFile,
  CreateTmpFile,
  SendCommandFile,
  DelayTime,
  CleanUp,
  Open,
  DumpToFile,
  SendScript
};

struct Failure {
  Step step;
  base::RuntimeError error;
};

// The box the tool shows when error ends step: its title, icon and text. The default title
// is left empty for the window system to fill in.
desktop::MessageBoxRequest errorBox(Step step, const base::RuntimeError& error);

// Shows errorBox(step, error) and returns the failure, for a caller to pass on.
Failure reportFailure(desktop::Desktop& desktop, Step step, const base::RuntimeError& error);

using base::fileError;

}  // namespace brelvion::commandfiles
