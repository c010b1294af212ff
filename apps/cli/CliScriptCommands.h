#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "CliRequest.h"
#include "base/Clock.h"
#include "bus/BusMaster.h"
#include "scripts/Script.h"
#include "scripts/ScriptRunner.h"

namespace brelvion::apps::cli {

// A bring-up script read and checked whole, before the bus is touched.
struct CheckedScript {
  std::string file;
  std::vector<scripts::Step> steps;
};

// Reads and checks send's FILE.i2cs. Every problem is printed on err as "FILE:LINE: what",
// and nothing comes back then. A file that cannot be read throws base::RuntimeError.
std::optional<CheckedScript> checkScript(const std::string& file, std::ostream& err);
// The same for a script's text, named file in its problems.
std::optional<CheckedScript> checkScriptText(std::string_view text, const std::string& file,
                                             std::ostream& err);

// Runs a checked script on the bus already opened, one line a bus command on out; what
// stopped it on err, with FILE:LINE. clock measures and sleeps its delays and polls.
// Returns the exit status: 0 all went through, 1 a command not acknowledged, 2 a failed
// poll or expect, or standard output that could not be written.
int runScriptSend(bus::BusMaster& master, const CheckedScript& script, const SendRequest& send,
                  const SessionOptions& session, base::Clock& clock, std::ostream& out,
                  std::ostream& err);

// The line a bus command prints: "20 0103 01 ACK", "20 0000 = B716 OK", "20 0005 = 01
// after 5 ms"; the device as the 7-bit address with sevenBit.
std::string commandLine(const scripts::CommandReport& report, bool sevenBit);

// import FORMAT IN and export FORMAT IN: no bus. Returns the exit status.
int runImport(const ImportRequest& request, std::ostream& out, std::ostream& err);
int runExport(const ExportRequest& request, bool repeatedStart, std::ostream& out,
              std::ostream& err);

}  // namespace brelvion::apps::cli
