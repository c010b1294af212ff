#include "CliRun.h"

#include <exception>
#include <optional>

#include "CaptureTarget.h"
#include "CliArguments.h"
#include "CliFileCommands.h"
#include "CliRegisterCommands.h"
#include "ConsoleDesktop.h"
#include "ProgramVersion.h"
#include "base/RuntimeError.h"
#include "core/StartBus.h"
#include "core/ToolCore.h"
#include "numconv/HexText.h"
#include "port/BusCapture.h"
#include "port/LptRegisters.h"
#include "port/hardware/ParportDevices.h"
#include "port/hardware/PortAddressText.h"

namespace brelvion::apps::cli {

namespace {

constexpr const char* kProgram = "brelvion-i2c-cli";
constexpr int kBytesPerLine = 16;

std::string hexByte(int value) {
  return numconv::UpperHex(static_cast<std::uint64_t>(value & 0xFF), 2);
}

// The program-wide state, set up as the tool's start-up does.
struct Session {
  Session(port::PortIo& port, std::ostream& err) : desktop(err), core(port, desktop) {
    core.busState().BusDelay = 0.001;
    core.debuggerState().TraceBufferSize = 10;
  }
  ConsoleDesktop desktop;
  core::ToolCore core;
};

void runWrite(const CliRequest& request, bus::BusEngine& engine, std::ostream& out) {
  std::int16_t device = request.device;
  engine.WriteRegister(device, request.subAddress, request.data);
  engine.SetRegisterPointer(device, request.subAddress);
  engine.ReadSequential(device, 1);
  out << hexByte(engine.state().ReadBuffer[0]) << ' '
      << (engine.state().AckReceived ? "ACK" : "NO ACK") << '\n';
}

void runRead(const CliRequest& request, bus::BusEngine& engine, std::ostream& out) {
  std::int16_t device = request.device;
  engine.SetRegisterPointer(device, request.subAddress);
  engine.ReadSequential(device, static_cast<std::int16_t>(request.count - 1));
  const auto& bytes = engine.state().ReadBuffer;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    out << hexByte(bytes[i])
        << ((i + 1) % kBytesPerLine == 0 || i + 1 == bytes.size() ? '\n' : ' ');
  }
}

// Write and read print nothing until the bus work is done, so that a port failing half-way
// leaves no partial result on standard output; a send prints each write as it goes out.
// The exit status when the command decides it itself.
std::optional<int> runCommand(const CliRequest& request, const PreparedRegisters& prepared,
                              core::ToolCore& core, base::Clock& clock, std::ostream& out,
                              std::ostream& err) {
  if (const auto* command = std::get_if<RegisterCommand>(&prepared)) {
    return runRegisterCommand(request, *command, core.engine(), out);
  }
  switch (request.command) {
    case Command::Write:
      runWrite(request, core.engine(), out);
      break;
    case Command::Read:
      runRead(request, core.engine(), out);
      break;
    case Command::Send:
      return runSend(core, request.file, request.delay, clock, out, err);
    case Command::Dump:
      return runDump(core, request.device, request.last, request.file);
  }
  return std::nullopt;
}

// For a port missing at the chosen address while the only one is at another: the option
// that selects that one.
std::string portChoiceHint(const CliRequest& request, const std::filesystem::path& root) {
  const std::uint16_t base = port::kLptBases[static_cast<std::size_t>(request.portIndex)];
  const auto other =
      port::hardware::usableLptIndexInsteadOf(port::hardware::listParportDevices(root), base);
  if (!other) return {};
  return " (--port lpt" + std::to_string(*other + 1) + " selects the one at " +
         port::hardware::portAddressText(port::kLptBases[*other]) + ")";
}

int runOnPort(const CliRequest& request, const PreparedRegisters& prepared, port::PortIo& port,
              base::Clock& clock, std::ostream& out, std::ostream& err) {
  Session session(port, err);
  if (request.trace) {
    session.core.log().setLineListener([&err](std::string_view line) { err << line << '\n'; });
  }
  session.core.engine().OpenBus(request.portIndex, request.trace ? 1 : 0);
  session.core.engine().InitPort(core::kAckTimeout);

  // Recording starts on the idle bus: the bus clear's back-to-back START and STOP
  // conditions would only confuse a protocol decoder.
  port::BusCapture capture;
  if (request.capturePath) port.setCapture(&capture);
  std::optional<int> status;
  try {
    status = runCommand(request, prepared, session.core, clock, out, err);
  } catch (...) {
    port.setCapture(nullptr);
    throw;
  }
  port.setCapture(nullptr);
  session.core.engine().CloseBus();

  // The result first, so that a capture on standard output ("-") follows it.
  out.flush();
  if (request.capturePath) capture.writeVcdFile(*request.capturePath);
  const bool quiet = request.command == Command::Write || request.command == Command::Send;
  if (!quiet && (status ? *status == kExitNotAcknowledged : !session.core.busState().AckReceived)) {
    const auto* command = std::get_if<RegisterCommand>(&prepared);
    err << kProgram << ": NO ACK from device "
        << hexByte(command != nullptr ? command->device : request.device) << '\n';
  }
  if (status) return *status;
  return session.core.busState().AckReceived ? kExitAcknowledged : kExitNotAcknowledged;
}

int runRequest(const CliRequest& request, std::ostream& out, std::ostream& err,
               const std::filesystem::path& root, port::hardware::PortSystemCalls& calls,
               const CliOverrides& overrides) {
  // A capture is written only after the command; one that cannot be written there would
  // lose the command's work, so it is refused before the bus is touched.
  if (request.capturePath) {
    if (auto problem = apps::captureTargetProblem(*request.capturePath)) throw *problem;
  }
  const PreparedRegisters prepared = prepareRegisterCommand(request);
  if (const auto* refused = std::get_if<UsageError>(&prepared)) {
    err << kProgram << ": " << escapeControls(refused->message) << '\n';
    return kExitUsageOrPortError;
  }
  base::Clock& clock = overrides.clock != nullptr ? *overrides.clock : base::systemClock();
  if (overrides.port != nullptr) {
    return runOnPort(request, prepared, *overrides.port, clock, out, err);
  }
  const port::simulated::SimulatedBusConfig simulation = apps::simulationOf(request);
  port::OpenedPort opened = port::openPortBackend(request.backend, simulation, root, calls);
  if (!opened.notice.empty()) err << kProgram << ": " << opened.notice << '\n';
  try {
    return runOnPort(request, prepared, *opened.port, clock, out, err);
  } catch (const base::RuntimeError& error) {
    if (opened.backend != port::PortBackend::Ppdev ||
        error.number() != base::RuntimeError::kFileNotFound) {
      throw;
    }
    throw base::RuntimeError(error.number(), error.source(),
                             error.description() + portChoiceHint(request, root));
  }
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const std::filesystem::path& root, port::hardware::PortSystemCalls& calls,
           const CliOverrides& overrides) {
  const ParsedArguments parsed = parseArguments(args);
  if (std::holds_alternative<HelpRequest>(parsed)) {
    out << usageText();
    return kExitAcknowledged;
  }
  if (std::holds_alternative<VersionRequest>(parsed)) {
    out << apps::versionText(kProgram);
    return kExitAcknowledged;
  }
  if (const auto* error = std::get_if<UsageError>(&parsed)) {
    err << kProgram << ": " << error->message << '\n';
    return kExitUsageOrPortError;
  }
  try {
    return runRequest(std::get<CliRequest>(parsed), out, err, root, calls, overrides);
  } catch (const base::RuntimeError& error) {
    err << kProgram << ": error " << error.number() << ": " << escapeControls(error.description())
        << '\n';
  } catch (const std::exception& error) {
    err << kProgram << ": " << escapeControls(error.what()) << '\n';
  }
  return kExitUsageOrPortError;
}

}  // namespace brelvion::apps::cli
