// Command files end to end: the comment-free copy CreateTmpFile makes, the values
// readHexField reads from the file and from its copy, the writes SendCommandFile puts on
// the bus, and a register dump read back as a command file. All of it in memory, through
// the same readers the files go through; how the copy is written to disk, and how a text
// crosses from one of the readers' 64 KiB pieces to the next, is TmpFileTest's
// (ATextInMemoryReadsAndCopiesAsItsFileDoes). Everything is checked against a reading of
// the format written here, apart from the code.
//
// The first byte chooses how the file is sent (see chooseSendCase); the rest is the
// command file, or, with the dump bits, the device and register values of a dump that
// becomes the command file.

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "commandfiles/Dump.h"
#include "commandfiles/InputFile.h"
#include "commandfiles/Sender.h"
#include "commandfiles/TmpFile.h"
#include "scripts/CommandFileWrites.h"
#include "core/ToolCore.h"
#include "support/FakeClock.h"
#include "support/FakeDesktop.h"
#include "support/MasterWireDecoder.h"
#include "support/RecordingPort.h"

namespace {

using brelvion::fuzz::FuzzInput;
using brelvion::testing::FakeClock;
using brelvion::testing::FakeDesktop;
using brelvion::testing::RecordingPort;
namespace cf = brelvion::commandfiles;

// --- The format, read apart from the code -------------------------------------------------

// The copy: each line's text before its first ";" without its leading blanks, ended by
// CR LF; a line that starts with ";" is left out.
std::string expectedCopy(std::string_view source) {
  std::string copy;
  for (const std::string& line : brelvion::fuzz::fileLines(source)) {
    if (!line.empty() && line.front() == ';') continue;
    std::string text = line.substr(0, line.find(';'));
    text.erase(0, text.find_first_not_of(' '));
    copy += text + "\r\n";
  }
  return copy;
}

// A table rather than a search: it runs on every byte of the file, several times over.
int hexValue(char ch) {
  static const std::array<std::int8_t, 256> kValues = [] {
    std::array<std::int8_t, 256> values{};
    values.fill(-1);
    constexpr std::string_view kDigits = "0123456789abcdef0123456789ABCDEF";
    for (std::size_t i = 0; i < kDigits.size(); ++i) {
      values[static_cast<unsigned char>(kDigits[i])] = static_cast<std::int8_t>(i % 16);
    }
    return values;
  }();
  return kValues[static_cast<unsigned char>(ch)];
}

// The value from `at` on: the first hex digit, and the byte after it is taken with it (as
// the second digit when it is one). -1 once the text ends before a digit.
int nextValue(std::string_view text, std::size_t& at) {
  while (at < text.size() && hexValue(text[at]) < 0) ++at;
  if (at == text.size()) return -1;
  const int first = hexValue(text[at++]);
  if (at == text.size()) return first;
  const int second = hexValue(text[at++]);
  return second < 0 ? first : first * 16 + second;
}

struct Group {
  int device;
  int sub;
  int data;
};

struct Reading {
  std::vector<int> values;
  // Every three values, in order; values left over at the end make none.
  std::vector<Group> groups;
  // The sender's rounds: three values taken, then one yield, until the text is used up.
  long long rounds = 0;
};

Reading readFormat(std::string_view text) {
  Reading reading;
  std::size_t at = 0;
  for (int value = nextValue(text, at); value >= 0; value = nextValue(text, at)) {
    reading.values.push_back(value);
  }
  for (std::size_t i = 0; i + 3 <= reading.values.size(); i += 3) {
    reading.groups.push_back({reading.values[i], reading.values[i + 1], reading.values[i + 2]});
  }
  at = 0;
  while (at < text.size()) {
    for (int i = 0; i < 3; ++i) nextValue(text, at);
    ++reading.rounds;
  }
  return reading;
}

std::string hexList(const std::vector<int>& values) {
  std::string text;
  for (std::size_t i = 0; i < values.size() && i < 24; ++i) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%X ", static_cast<unsigned>(values[i]));
    text += digits;
  }
  return values.size() > 24 ? text + "..." : text;
}

// --- The code under test ------------------------------------------------------------------

// readHexField over the whole file, and countWrites of it, as the format says.
void checkReader(const std::string& text, const Reading& expected, const std::string& what) {
  cf::InputFile file = cf::InputFile::fromText(text, what);
  std::vector<int> values;
  for (int value = cf::readHexField(file); value >= 0; value = cf::readHexField(file)) {
    values.push_back(value);
  }
  FUZZ_CHECK(values == expected.values,
             what + " reads as " + hexList(values) + "instead of " + hexList(expected.values));
  cf::InputFile again = cf::InputFile::fromText(text, what);
  const long long counted = cf::countWrites(again);
  FUZZ_CHECK(counted == static_cast<long long>(expected.groups.size()),
             what + ": CountWrites gives " + std::to_string(counted));
}

struct SendCase {
  bool nack = false;
  bool progress = false;
  bool beep = false;
  double delay = 0;
  // Stop asked for at yield stopAt (from 1); a file with fewer rounds is sent whole.
  long long stopAt = 0;
  bool dump = false;
};

// A send goes no further than this many rounds: each write costs as much as reading a
// short file, and the rounds after them go just as the first ones do.
constexpr long long kLongestSend = 4;
// The longest file an execution reads: its lines are read one by one, each pass over the
// text costs a hook per byte under the sanitizers, and longer inputs are not kept.
constexpr std::size_t kLongestFile = 1024;

SendCase chooseSendCase(FuzzInput& input) {
  static const double kDelays[] = {
      0, 0.001, 0.25, 2.5, -1, 1e4, std::numeric_limits<double>::quiet_NaN(), 1e39};
  const std::uint8_t bits = input.byte();
  SendCase send;
  send.nack = (bits & 0x01) != 0;
  send.progress = (bits & 0x02) != 0;
  send.beep = (bits & 0x04) != 0;
  send.delay = kDelays[(bits >> 3) & 7];
  send.stopAt = kLongestSend;
  if ((bits & 0x40) != 0) send.stopAt = std::min<long long>(1 + input.byte(), kLongestSend);
  // A dump comes only with a stop and a quarter of the time.
  send.dump = (bits & 0xC0) == 0xC0;
  return send;
}

// A delay the pause cannot take (not a number, beyond single precision) shows a box and
// does not wait.
bool delayRefused(double delay) { return !std::isfinite(delay) || std::fabs(delay) > 3.4e38; }

struct Sent {
  std::vector<Group> writes;
  long long progressCalls = 0;
  long long yieldsAsked = 0;
};

void checkSend(const SendCase& send, const Reading& copy, const Sent& sent,
               const cf::SendOutcome& outcome, const FakeDesktop& desktop, const FakeClock& clock,
               const RecordingPort& port) {
  const auto groups = static_cast<long long>(copy.groups.size());
  const bool stops = send.stopAt != 0 && send.stopAt <= copy.rounds;
  const long long writes = stops ? std::min(send.stopAt, groups) : groups;
  FUZZ_CHECK(outcome.end == (stops ? cf::SendEnd::Stopped : cf::SendEnd::Completed),
             "the send ended as " + std::to_string(static_cast<int>(outcome.end)));
  FUZZ_CHECK(
      outcome.writes == writes && static_cast<long long>(sent.writes.size()) == writes,
      std::to_string(outcome.writes) + " writes sent, " + std::to_string(writes) + " expected");
  FUZZ_CHECK(outcome.unacknowledged == (send.nack ? writes : 0), "unacknowledged count");
  FUZZ_CHECK(!send.progress || sent.progressCalls == writes, "progress not told of every write");
  FUZZ_CHECK(brelvion::testing::masterWire(port.log).empty(), "the bus moved after the last write");
  const long long rounds = stops ? send.stopAt : copy.rounds;
  FUZZ_CHECK(desktop.yields == rounds && sent.yieldsAsked == rounds,
             std::to_string(desktop.yields) + " yields for " + std::to_string(rounds) + " rounds");
  // A missing acknowledge beeps once per wait, three waits a write, with the log off.
  const long long beeps = (send.beep ? writes : 0) + (send.nack ? 3 * writes : 0);
  FUZZ_CHECK(desktop.beeps == beeps, std::to_string(desktop.beeps) + " beeps");
  const bool refused = delayRefused(send.delay);
  FUZZ_CHECK(static_cast<long long>(desktop.boxes.size()) == (refused ? writes : 0),
             std::to_string(desktop.boxes.size()) + " boxes");
  const double perWrite = brelvion::scripts::kPauseAfterWrite + (refused ? 0 : std::max(send.delay, 0.0));
  const double waited = std::chrono::duration<double>(clock.time).count();
  const double wanted = static_cast<double>(writes) * perWrite;
  FUZZ_CHECK(std::fabs(waited - wanted) <= wanted * 1e-6 + static_cast<double>(writes) * 1e-8,
             "waited " + std::to_string(waited) + " s for " + std::to_string(wanted) + " s");
}

// Copies the command file, reads the copy and sends it to a port that records what the
// master does; each write is taken off the wire as it ends.
void copyAndSend(const SendCase& send, const std::string& source, const Reading& sourceReading) {
  RecordingPort port;
  port.defaultRead = send.nack ? 0xFF : 0x00;
  FakeDesktop desktop;
  brelvion::core::ToolCore core(port, desktop);
  // Every read answers the same, acknowledge or not: the check of SDA before a START would
  // take a held line from it.
  core.engine().setSdaCheckBeforeStart(false);
  core.engine().setBusDelay(0);
  core.engine().openBus(0, 0);
  core.engine().initPort(10);
  cf::SendOptions options;
  options.commandDelay = send.delay;
  options.beepOn = send.beep;

  const std::string copyText = cf::commentFreeCopy(source);
  const std::string expected = expectedCopy(source);
  FUZZ_CHECK(copyText == expected, "the copy holds another text (" +
                                       std::to_string(copyText.size()) + " bytes for " +
                                       std::to_string(expected.size()) + ")");
  const Reading copy = readFormat(copyText);
  checkReader(copyText, copy, "the copy");
  // Comments aside, the copy holds the file's writes; with no ";" at all, exactly them.
  if (source.find(';') == std::string::npos) {
    FUZZ_CHECK(copy.values == sourceReading.values, "the copy lost or gained values");
  }

  Sent sent;
  FakeClock clock;
  cf::SendHooks hooks;
  hooks.clock = &clock;
  hooks.updateDeviceMonitor = [&](bool acknowledged) {
    const std::size_t index = sent.writes.size();
    FUZZ_CHECK(index < copy.groups.size(), "a write beyond the file's groups");
    const Group& group = copy.groups[index];
    const std::string wire = brelvion::testing::masterWire(port.log);
    // STOP raises SCL with SDA low before SDA goes up: that pulse reads as a "0".
    const std::string wanted = brelvion::testing::wire(
        {"S", brelvion::testing::sentByte(group.device & 0xFE),
         brelvion::testing::sentByte(group.sub), brelvion::testing::sentByte(group.data), "0P"});
    FUZZ_CHECK(wire == wanted, "write " + std::to_string(index + 1) + " went out as " + wire);
    FUZZ_CHECK(acknowledged == !send.nack, "the write's acknowledge");
    sent.writes.push_back(group);
    port.log.clear();
  };
  if (send.progress) {
    hooks.progress = [&](long long index, long long total) {
      ++sent.progressCalls;
      FUZZ_CHECK(index == static_cast<long long>(sent.writes.size()) + 1 &&
                     total == static_cast<long long>(copy.groups.size()),
                 "progress " + std::to_string(index) + " of " + std::to_string(total));
    };
  }
  hooks.stopRequested = [&] { return ++sent.yieldsAsked == send.stopAt; };
  port.log.clear();
  const cf::SendOutcome outcome = cf::sendCommandText(core, copyText, "tmpI2C.txt", options, hooks);
  checkSend(send, copy, sent, outcome, desktop, clock, port);
}

// A dump of registers 0 to FF in the program's own format, and the register values that
// must come back from it.
std::string dumpText(FuzzInput& input, std::vector<Group>& registers) {
  const int device = input.byte();
  std::vector<std::int16_t> bytes;
  std::string ownFormat;
  for (int index = 0; index <= 0xFF; ++index) {
    const int value = input.byte();
    bytes.push_back(static_cast<std::int16_t>(value));
    registers.push_back({device, index, value});
    char line[32];
    std::snprintf(line, sizeof line, "%X  %X  %X\r\n", static_cast<unsigned>(device),
                  static_cast<unsigned>(index), static_cast<unsigned>(value));
    ownFormat += line;
  }
  const std::string text = cf::dumpText(static_cast<std::int16_t>(device), bytes);
  FUZZ_CHECK(text == ownFormat, "the dump's lines are not \"device  register  value\"");
  return text;
}

bool sameGroups(const std::vector<Group>& a, const std::vector<Group>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].device != b[i].device || a[i].sub != b[i].sub || a[i].data != b[i].data) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const SendCase send = chooseSendCase(input);
  std::vector<Group> registers;
  const std::string text = send.dump ? dumpText(input, registers) : input.rest();
  if (!send.dump && text.size() > kLongestFile) return -1;

  const Reading reading = readFormat(text);
  checkReader(text, reading, "the file");
  if (send.dump) {
    FUZZ_CHECK(sameGroups(reading.groups, registers), "the dump reads back as other registers");
    FUZZ_CHECK(expectedCopy(text) == text, "a dump is its own comment-free copy");
  }
  copyAndSend(send, text, reading);
  return 0;
}
