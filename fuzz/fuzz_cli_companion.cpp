// The whole companion program on the simulated bus, reads and writes with counts that go
// round the register page: the exit status, standard output and the capture file must be
// exactly what the simulated camera sensors hold and what went over the wires.

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "CliRun.h"
#include "FuzzSupport.h"
#include "numconv/HexText.h"
#include "capture/VcdReader.h"
#include "simulator/CameraSensor.h"
#include "support/WireTokens.h"

namespace {

using brelvion::fuzz::FuzzInput;
using brelvion::simulator::CameraSensor;
namespace fs = std::filesystem;

// Counts of a few output lines, which go past the last register from a high first one;
// the largest count (32768) is CliRunTest's ReadOfTheLargestCountPrintsEveryByte, since
// each byte read costs as much as a whole short command here.
constexpr int kLargestCount = 64;
// A capture doubles a command's cost: short reads show every wire step there is to see.
constexpr int kLargestCapturedCount = 16;

// An empty root, so that no real parallel port is ever found or touched.
const fs::path& scratch() { return brelvion::fuzz::scratchDirectory(); }

struct Case {
  std::vector<std::string> args;
  bool write = true;
  int device = 0x42;
  int sub = 0;
  int data = 0;
  int count = 1;
  bool ppdev = false;
  bool capture = false;
  std::vector<int> sensors{0x42};
};

std::string hexByte(int value) {
  return brelvion::numconv::upperHex(static_cast<unsigned>(value), 2);
}

// Mostly short reads, which run fast; now and then one of up to four output lines.
int readCount(FuzzInput& input) {
  const std::uint8_t choice = input.byte();
  if (choice < 0xE0) return 1 + static_cast<int>(input.below(4));
  return 1 + static_cast<int>(input.below(kLargestCount));
}

void chooseSensors(FuzzInput& input, Case& c) {
  const int choice = input.byte() % 4;
  if (choice == 0) return;  // the default: one sensor at 42h
  c.sensors.clear();
  if (choice == 1) {
    c.args.insert(c.args.end(), {"--sim-device", "none"});
    return;
  }
  std::string list;
  const int n = 1 + static_cast<int>(input.below(4));
  for (int i = 0; i < n; ++i) {
    c.sensors.push_back(input.byte());
    list += (i > 0 ? "," : "") + hexByte(c.sensors.back());
  }
  c.args.insert(c.args.end(), {"--sim-device", list});
}

Case makeCase(FuzzInput& input) {
  Case c;
  static const char* const kBackends[] = {nullptr, "auto", "sim", "ppdev"};
  if (const char* backend = kBackends[input.byte() % 4]) {
    c.args.insert(c.args.end(), {"--backend", backend});
    c.ppdev = std::string(backend) == "ppdev";
  }
  static const char* const kPorts[] = {nullptr, "lpt1", "lpt2", "lpt3"};
  if (const char* port = kPorts[input.byte() % 4]) c.args.insert(c.args.end(), {"--port", port});
  chooseSensors(input, c);
  if (input.flag()) c.args.push_back("--trace");
  const bool capture = input.flag();
  c.write = input.flag();
  c.device = input.byte();
  c.sub = input.byte();
  c.data = input.byte();
  if (!c.write) c.count = readCount(input);
  c.capture = capture && c.count <= kLargestCapturedCount;
  if (c.capture) c.args.insert(c.args.end(), {"--capture", (scratch() / "bus.vcd").string()});
  // Last, so that earlier inputs keep their meaning: the wire is the same at any step time.
  if (input.flag()) {
    c.args.insert(c.args.end(), {"--step-us", std::to_string(5 + input.below(996))});
  }
  c.args.push_back(c.write ? "write" : "read");
  c.args.push_back(hexByte(c.device));
  c.args.push_back(hexByte(c.sub));
  c.args.push_back(c.write ? hexByte(c.data) : std::to_string(c.count));
  return c;
}

bool validSensors(const std::vector<int>& sensors) {
  std::set<int> seen;
  for (int address : sensors) {
    if ((address & 1) != 0 || !seen.insert(address).second) return false;
  }
  return true;
}

// A fresh sensor's register after the command wrote it.
int registerAfterWrite(int sub, int data) {
  const auto index = static_cast<std::uint8_t>(sub);
  if (CameraSensor::isReadOnly(index)) return CameraSensor::defaultValue(index);
  if (index == CameraSensor::kRegSystemControl && (data & CameraSensor::kSoftResetBit) != 0) {
    return CameraSensor::kSystemControlDefault;
  }
  return data;
}

// The bytes the read phase of the command gets back.
std::vector<int> bytesRead(const Case& c, bool present) {
  const int n = c.write ? 2 : c.count;
  std::vector<int> bytes;
  for (int i = 0; i < n; ++i) {
    const auto index = static_cast<std::uint8_t>(c.sub + i);
    bytes.push_back(!present ? 0xFF : CameraSensor::defaultValue(index));
  }
  if (c.write && present) bytes[0] = registerAfterWrite(c.sub, c.data);
  return bytes;
}

std::string expectedOutput(const Case& c, const std::vector<int>& bytes, bool present) {
  if (c.write) return hexByte(bytes[0]) + (present ? " ACK\n" : " NO ACK\n");
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    out += hexByte(bytes[i]) + ((i + 1) % 16 == 0 || i + 1 == bytes.size() ? "\n" : " ");
  }
  return out;
}

std::string bits(int value, char acknowledge) {
  std::string text;
  for (int bit = 7; bit >= 0; --bit) text += (value >> bit) & 1 ? '1' : '0';
  return text + acknowledge;
}

// START, address, bytes, and the STOP's own clock rise with SDA low before it.
std::string expectedWire(const Case& c, const std::vector<int>& bytes, bool present) {
  const char slaveAck = present ? '0' : '1';
  const int address = c.device & 0xFE;
  std::string wire = "S" + bits(address, slaveAck) + bits(c.sub, slaveAck);
  if (c.write)
    wire += bits(c.data, slaveAck) + "0P" + "S" + bits(address, slaveAck) + bits(c.sub, slaveAck);
  wire += "0PS" + bits(address | 1, slaveAck);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    wire += bits(bytes[i], '0');
    if (i + 1 == bytes.size()) wire.pop_back();
  }
  return wire + "0P";
}

void checkCapture(const std::string& text, const std::string& wire, const std::string& shown) {
  brelvion::capture::VcdError error;
  const auto capture = brelvion::capture::readVcdCapture(text, {}, &error);
  FUZZ_CHECK(capture.has_value(),
             shown + ": line " + std::to_string(error.line) + ": " + error.message);
  FUZZ_CHECK(
      !capture->samples.empty() && capture->samples.front().scl && capture->samples.front().sda,
      shown + ": the capture does not start on the idle bus");
  const auto& samples = capture->samples;
  for (std::size_t i = 1; i < samples.size(); ++i) {
    FUZZ_CHECK(samples[i].scl == samples[i - 1].scl || samples[i].sda == samples[i - 1].sda,
               shown + ": both lines changed at one instant");
  }
  const std::string tokens = brelvion::testing::wireTokens(samples);
  FUZZ_CHECK(tokens == wire, shown + ":\n  wire " + tokens + "\n  want " + wire);
}

// Messages are the parser's and the port's business; what is checked is that a quiet run
// says nothing and a traced one shows the bus steps.
void checkStandardError(const std::string& err, bool quiet, bool traced, const std::string& shown) {
  FUZZ_CHECK(!quiet || err.empty(), shown + ": " + err);
  FUZZ_CHECK(!traced || err.find("\nWisp") != std::string::npos || err.rfind("Wisp", 0) == 0,
             shown + ": no bus trace");
}

std::string describe(const std::vector<std::string>& args) {
  std::string text;
  for (const std::string& arg : args) text += arg + " ";
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const Case c = makeCase(input);
  const std::string shown = describe(c.args);
  std::ostringstream out;
  std::ostringstream err;
  // The capture stays in memory; its file name is only checked, in the scratch folder.
  std::ostringstream capture;
  brelvion::apps::cli::CliOverrides overrides;
  overrides.capture = &capture;
  const int status = brelvion::apps::cli::runCli(
      c.args, out, err, scratch(), brelvion::port::hardware::PortSystemCalls::real(), overrides);
  const bool captured = !capture.str().empty();

  if (c.ppdev || !validSensors(c.sensors)) {
    FUZZ_CHECK(status == brelvion::apps::cli::kExitUsageOrPortError,
               shown + std::to_string(status));
    FUZZ_CHECK(out.str().empty() && !err.str().empty() && !captured, shown + out.str());
    return 0;
  }
  const bool present =
      std::find(c.sensors.begin(), c.sensors.end(), c.device & 0xFE) != c.sensors.end();
  const std::vector<int> bytes = bytesRead(c, present);
  FUZZ_CHECK(status == (present ? 0 : 1), shown + "exit " + std::to_string(status) + err.str());
  const std::string expected = expectedOutput(c, bytes, present);
  FUZZ_CHECK(out.str() == expected, shown + "\n  got  " + out.str() + "\n  want " + expected);
  const bool traced = std::find(c.args.begin(), c.args.end(), "--trace") != c.args.end();
  const bool quiet =
      present && !traced && std::find(c.args.begin(), c.args.end(), "sim") != c.args.end();
  checkStandardError(err.str(), quiet, traced, shown);
  FUZZ_CHECK(captured == c.capture, shown + ": capture file there: " + std::to_string(captured));
  if (c.capture) checkCapture(capture.str(), expectedWire(c, bytes, present), shown);
  return 0;
}
