#include "CliRun.h"

#include <chrono>
#include <exception>
#include <functional>
#include <optional>
#include <string>

#include "CliArguments.h"
#include "CliBusCommands.h"
#include "CliByteCommands.h"
#include "CliFileCommands.h"
#include "CliMapCommands.h"
#include "CliRegisterCommands.h"
#include "CliScriptArguments.h"
#include "CliScriptCommands.h"
#include "ConsoleDesktop.h"
#include "ProgramVersion.h"
#include "base/RuntimeError.h"
#include "base/UserFile.h"
#include "core/RegisterCommands.h"
#include "core/StartBus.h"
#include "core/ToolCore.h"
#include "capture/BusCapture.h"
#include "i2c/DeviceAddress.h"
#include "port/LptRegisters.h"
#include "port/gpio/GpioLines.h"
#include "port/hardware/ParportDevices.h"
#include "port/hardware/PortAddressText.h"
#include "port/i2cdev/I2cDevAdapter.h"
#include "simulator/SimulatedBusClock.h"
#include "simulator/SimulatedParallelPort.h"
#include "scripts/ScriptReader.h"
#include "scripts/TextLines.h"
#include "trace/TransactionText.h"

namespace brelvion::apps::cli {

namespace {

constexpr const char* kProgram = "brelvion-i2c-cli";

// The program-wide state on a parallel port, on lines of their own or on an adapter, set up
// as the tool's start-up does.
struct Session {
  Session(port::PortIo& port, std::ostream& err) : desktop(err), core(port, desktop) { setUp(); }
  Session(port::BitLines& lines, std::ostream& err) : desktop(err), core(lines, desktop) {
    setUp();
  }
  Session(std::unique_ptr<port::BusAdapter> adapter, std::ostream& err)
      : desktop(err), core(std::move(adapter), desktop) {
    setUp();
  }
  void setUp() {
    if (core.hasLines()) core.engine().setBusDelay(0.001);
    core.log().debuggerState().traceBufferSize = 10;
  }
  ConsoleDesktop desktop;
  core::ToolCore core;
};

// Starts (capture) and stops (nullptr) recording the lines the session steps.
using Recorder = std::function<void(capture::BusCapture* capture)>;

// What the command was checked into before the bus is opened: its register format, and
// for a send of a script, the script.
struct PreparedCommand {
  PreparedRegisters registers;
  std::optional<CheckedScript> script;
  // send -: the command file read from standard input.
  std::optional<std::string> standardInput;
  std::optional<MapCommand> map;
};

// An address as the request prints it: the 8-bit write address, or with --7bit the 7-bit one.
std::string shownAddress(const CliRequest& request, int writeAddress) {
  return i2c::ParsedAddress::fromByte(static_cast<std::uint8_t>(writeAddress))
      .text(i2c::addressForm(request.sevenBit));
}

// A script's delays and polls wait on the simulated bus's own time too, where the lines are
// simulated, so that its sensors see the time pass.
int runScript(const CheckedScript& script, const SendRequest& send, const CliRequest& request,
              core::ToolCore& core, simulator::SimulatedParallelPort* simulated,
              base::Clock& clock, std::ostream& out, std::ostream& err) {
  if (simulated == nullptr || core.adapter() != nullptr) {
    return runScriptSend(core.master(), script, send, request, clock, out, err);
  }
  simulator::SimulatedBusClock busClock(*simulated, clock);
  return runScriptSend(core.master(), script, send, request, busClock, out, err);
}

// The device a read or dump in the design's format names in its NO ACK.
std::int16_t designDevice(const CommandRequest& command) {
  if (const auto* read = std::get_if<ReadRequest>(&command)) return read->device;
  if (const auto* dump = std::get_if<DumpRequest>(&command)) return dump->device;
  return 0;
}

// Write and read print nothing until the bus work is done, so that a port failing half-way
// leaves no partial result on standard output; a send prints each write as it goes out.
// The exit status when the command decides it itself.
std::optional<int> runCommand(const CliRequest& request, const PreparedCommand& prepared,
                              core::ToolCore& core,
                              simulator::SimulatedParallelPort* simulated,
                              base::Clock& clock, std::ostream& out, std::ostream& err) {
  if (const auto* command = std::get_if<RegisterCommand>(&prepared.registers)) {
    return runRegisterCommand(request.command, *command, core.master(), out);
  }
  if (prepared.map) {
    return runMapCommand(std::get<MapRequest>(request.command), request.sevenBit, *prepared.map,
                         core.master(), out, err);
  }
  const i2c::AfterMessage pointerThen = core::readPointerThen(request.repeatedStart);
  if (const auto* write = std::get_if<WriteRequest>(&request.command)) {
    return runWrite(*write, core.master(), pointerThen, out);
  } else if (const auto* read = std::get_if<ReadRequest>(&request.command)) {
    return runRead(*read, core.master(), pointerThen, out);
  } else if (const auto* send = std::get_if<SendRequest>(&request.command)) {
    if (prepared.script) {
      return runScript(*prepared.script, *send, request, core, simulated, clock, out, err);
    }
    return runSend(core, {send->file, prepared.standardInput}, send->delay, clock, out, err,
                   request.sevenBit);
  } else if (const auto* dump = std::get_if<DumpRequest>(&request.command)) {
    return runDump(core.master(), pointerThen, core.desktop(), dump->device, dump->last,
                   dump->file);
  } else if (const auto* scan = std::get_if<ScanRequest>(&request.command)) {
    return runScan(*scan, request.sevenBit, core.master(), out, err);
  } else if (std::holds_alternative<RecoverRequest>(request.command)) {
    return runRecover(core.master(), core.engine().stretchTimeout(), out);
  }
  return std::nullopt;
}

// What the command's end says on standard error when the bus refused it: a timeout or lost
// arbitration whatever the command (refusal: how the last message the adapter sent ended),
// a missing acknowledge for read and dump (write, send and scan print theirs with the
// result).
void reportRefusal(const CliRequest& request, std::uint8_t device, core::ToolCore& core,
                   std::optional<i2c::MessageOutcome> refusal, std::optional<int> status,
                   std::ostream& err) {
  const port::BusAdapter* adapter = core.adapter();
  if (adapter != nullptr && refusal == i2c::MessageOutcome::TimedOut) {
    err << kProgram << ": bus timeout on " << adapter->name()
        << ": a device held SCL low, or the adapter gave up waiting\n";
    return;
  }
  if (adapter != nullptr && refusal == i2c::MessageOutcome::ArbitrationLost) {
    err << kProgram << ": lost arbitration on " << adapter->name()
        << ": another master drove the bus at the same time\n";
    return;
  }
  const bool quiet = !std::holds_alternative<ReadRequest>(request.command) &&
                     !std::holds_alternative<DumpRequest>(request.command);
  if (!quiet && status == kExitNotAcknowledged) {
    err << kProgram << ": NO ACK from device " << shownAddress(request, device) << '\n';
  }
}

// Each transaction's line as the record keeps it, the read's register from the write
// before it.
void printTransactions(bus::TransactionRecord& record, const CliRequest& request,
                       const PreparedRegisters& prepared, std::ostream& err) {
  // The register as the command's own format reads it: 2 bytes with --reg-bits 16 or a map
  // that says so.
  const auto* command = std::get_if<RegisterCommand>(&prepared);
  const int addressBytes = command != nullptr && command->format.addressBytes == 2 ? 2 : 1;
  const trace::TransactionView view{request.sevenBit, addressBytes};
  record.setListener([&record, view, &err](const bus::Transaction* entry) {
    if (entry == nullptr) return;
    const auto& entries = record.entries();
    const bus::Transaction* before = entries.size() >= 2 ? &entries[entries.size() - 2] : nullptr;
    err << trace::transactionLine(*entry, view, before) << '\n';
  });
}

// For a port missing at the chosen address while the only one is at another: the option
// that selects that one.
std::string portChoiceHint(const CliRequest& request, const std::filesystem::path& root) {
  const std::uint16_t base = port::kLptBases[static_cast<std::size_t>(apps::lptIndexOf(request))];
  const auto other =
      port::hardware::usableLptIndexInsteadOf(port::hardware::listParportDevices(root), base);
  if (!other) return {};
  return " (--port lpt" + std::to_string(*other + 1) + " selects the one at " +
         port::hardware::portAddressText(port::kLptBases[*other]) + ")";
}

// simulated is the simulated parallel port the session runs on, if it does; a capture goes
// to captureOut when there is one, else to its file.
int runSession(const CliRequest& request, const PreparedCommand& prepared, Session& session,
               simulator::SimulatedParallelPort* simulated, const Recorder& record,
               base::Clock& clock, std::ostream& out, std::ostream& err,
               std::ostream* captureOut) {
  if (request.trace) {
    session.core.log().setLineListener([&err](std::string_view line) { err << line << '\n'; });
  }
  // Transaction times count from here, on the clock the pauses use.
  session.core.record().restart(clock);
  if (request.transactions) {
    printTransactions(session.core.record(), request, prepared.registers, err);
  }
  // An adapter has no lines to step: its driver keeps its own timing.
  if (session.core.hasLines()) {
    bus::BusEngine& engine = session.core.engine();
    if (request.stepUs) engine.setStepTime(std::chrono::microseconds(*request.stepUs));
    if (request.stretchTimeoutMs) {
      engine.setStretchTimeout(std::chrono::milliseconds(*request.stretchTimeoutMs));
    }
  }
  bus::BusMaster& master = session.core.master();
  master.openBus(apps::lptIndexOf(request), request.trace || request.transactions ? 1 : 0);
  // A recovery reports the bus as it finds it, so the bus clear would spoil its count.
  if (!std::holds_alternative<RecoverRequest>(request.command)) {
    master.initPort(core::kAckTimeout);
  }

  // Recording starts on the idle bus: the bus clear's back-to-back START and STOP
  // conditions would only confuse a protocol decoder.
  capture::BusCapture capture;
  if (request.capturePath) record(&capture);
  // Each message's result as the adapter returned it, the last one kept: a command ends on
  // a timeout or lost arbitration when its last message did.
  std::optional<i2c::MessageOutcome> lastOutcome;
  if (session.core.adapter() != nullptr) {
    session.core.record().setMessageListener(
        [&lastOutcome](const bus::Transaction& message) { lastOutcome = message.outcome; });
  }
  std::optional<int> status;
  try {
    status = runCommand(request, prepared, session.core, simulated, clock, out, err);
  } catch (...) {
    record(nullptr);
    session.core.record().setMessageListener({});
    throw;
  }
  record(nullptr);
  session.core.record().setMessageListener({});
  master.closeBus();

  // The result first, so that a capture on standard output ("-") follows it.
  out.flush();
  if (request.capturePath) {
    if (captureOut != nullptr) {
      capture.writeVcd(*captureOut);
    } else {
      capture.writeVcdFile(*request.capturePath);
    }
  }
  const auto* command = std::get_if<RegisterCommand>(&prepared.registers);
  reportRefusal(request, command != nullptr ? command->device : designDevice(request.command),
                session.core, lastOutcome, status, err);
  // Every command that reaches the bus says how it ended.
  return status.value_or(kExitNotAcknowledged);
}

int runOnPort(const CliRequest& request, const PreparedCommand& prepared, port::PortIo& port,
              base::Clock& clock, std::ostream& out, std::ostream& err,
              std::ostream* captureOut) {
  Session session(port, err);
  return runSession(
      request, prepared, session, dynamic_cast<simulator::SimulatedParallelPort*>(&port),
      [&port](capture::BusCapture* capture) { port.setCapture(capture); }, clock, out, err,
      captureOut);
}

// The lines are requested at the first line step; the notice that they switch direction
// comes then, once, on standard error.
int runOnGpioLines(const CliRequest& request, const PreparedCommand& prepared,
                   port::gpio::GpioSystemCalls& calls, const std::filesystem::path& root,
                   base::Clock& clock, std::ostream& out, std::ostream& err,
                   std::ostream* captureOut) {
  port::gpio::GpioLinesOptions options;
  options.notice = [&err](const std::string& notice) {
    err << kProgram << ": " << escapeControls(notice) << '\n';
  };
  port::gpio::GpioLines lines(*request.port.gpioLines(), calls, root, std::move(options));
  Session session(lines, err);
  return runSession(
      request, prepared, session, nullptr,
      [&lines](capture::BusCapture* capture) { lines.setCapture(capture); }, clock, out, err,
      captureOut);
}

// The adapter carries every command; there are no lines to record.
int runOnAdapter(const CliRequest& request, const PreparedCommand& prepared,
                 port::i2cdev::I2cDevSystemCalls& calls, base::Clock& clock, std::ostream& out,
                 std::ostream& err) {
  const unsigned number = request.port.i2cDevAdapter()->number;
  Session session(std::make_unique<port::i2cdev::I2cDevAdapter>(number, calls), err);
  return runSession(
      request, prepared, session, nullptr, [](capture::BusCapture*) {}, clock, out, err, nullptr);
}

// Checks what the command needs before the bus is opened into prepared; the exit status
// when it cannot go on (the reason on err).
std::optional<int> prepareCommand(const CliRequest& request, PreparedCommand& prepared,
                                  std::ostream& err) {
  prepared.registers = prepareRegisterCommand(request.command);
  if (const auto* refused = std::get_if<UsageError>(&prepared.registers)) {
    err << kProgram << ": " << escapeControls(refused->message) << '\n';
    return kExitUsageOrPortError;
  }
  if (const auto* map = std::get_if<MapRequest>(&request.command)) {
    auto mapCommand = prepareMapCommand(*map);
    if (const auto* refused = std::get_if<UsageError>(&mapCommand)) {
      err << kProgram << ": " << escapeControls(refused->message) << '\n';
      return kExitUsageOrPortError;
    }
    prepared.map = std::move(std::get<MapCommand>(mapCommand));
  }
  // A script is checked whole before the bus is opened: nothing of one with problems runs.
  const auto* send = std::get_if<SendRequest>(&request.command);
  if (send != nullptr && send->file == kStandardInput) {
    std::string text = scripts::readTextFile("/dev/stdin", "send");
    if (scripts::scriptStartOf(text)) {
      prepared.script = checkScriptText(text, std::string(kStandardInputName), err);
      if (!prepared.script) return kExitUsageOrPortError;
    } else {
      prepared.standardInput = std::move(text);
    }
  } else if (send != nullptr && isScriptFile(send->file)) {
    prepared.script = checkScript(send->file, err);
    if (!prepared.script) return kExitUsageOrPortError;
  }
  return std::nullopt;
}

int runRequest(const CliRequest& request, std::ostream& out, std::ostream& err,
               const std::filesystem::path& root, port::hardware::PortSystemCalls& calls,
               const CliOverrides& overrides) {
  port::i2cdev::I2cDevSystemCalls& i2cCalls = overrides.i2cCalls != nullptr
                                                  ? *overrides.i2cCalls
                                                  : port::i2cdev::I2cDevSystemCalls::real();
  port::gpio::GpioSystemCalls& gpioCalls = overrides.gpioCalls != nullptr
                                               ? *overrides.gpioCalls
                                               : port::gpio::GpioSystemCalls::real();
  if (std::holds_alternative<PortsRequest>(request.command)) {
    return runPorts(request, out, root, {calls, i2cCalls, gpioCalls});
  }
  if (const auto* importing = std::get_if<ImportRequest>(&request.command)) {
    return runImport(*importing, out, err);
  }
  if (const auto* exported = std::get_if<ExportRequest>(&request.command)) {
    return runExport(*exported, request.repeatedStart, out, err);
  }
  const auto* map = std::get_if<MapRequest>(&request.command);
  if (map != nullptr && map->otherSnapshot) return runSnapshotDiff(*map, out);
  // A capture is written only after the command; one that cannot be written there would
  // lose the command's work, so it is refused before the bus is touched.
  if (request.capturePath) {
    if (auto problem = base::userFileProblem(*request.capturePath, "--capture")) throw *problem;
  }
  PreparedCommand prepared;
  if (auto refused = prepareCommand(request, prepared, err)) return *refused;
  base::Clock& clock = overrides.clock != nullptr ? *overrides.clock : base::systemClock();
  if (request.onAdapter()) {
    return runOnAdapter(request, prepared, i2cCalls, clock, out, err);
  }
  if (request.onGpioLines()) {
    return runOnGpioLines(request, prepared, gpioCalls, root, clock, out, err, overrides.capture);
  }
  if (overrides.port != nullptr) {
    return runOnPort(request, prepared, *overrides.port, clock, out, err, overrides.capture);
  }
  const simulator::SimulatedBusConfig simulation = apps::simulationOf(request);
  core::OpenedPort opened = core::openPortBackend(request.backend, simulation, root, calls);
  if (!opened.notice.empty()) err << kProgram << ": " << opened.notice << '\n';
  try {
    return runOnPort(request, prepared, *opened.port, clock, out, err, overrides.capture);
  } catch (const base::RuntimeError& error) {
    if (opened.backend != core::PortBackend::Ppdev ||
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
