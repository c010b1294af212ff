#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "support/EngineFixture.h"

namespace brelvion::testing {
namespace {

using Kind = RecordingPort::Kind;

// Every port access of the design's transactions on the parallel-port cable, as recorded
// before the engine drove the bus through BitLines: the same writes in the same order (the
// doubled ones included), the same reads and the same delay passes, access for access.
// A wait of several passes in a row is one line, "wait N".
std::string accessesText(const std::vector<RecordingPort::Access>& log) {
  std::string text;
  std::size_t waits = 0;
  const auto flushWaits = [&] {
    if (waits > 0) text += "wait " + std::to_string(waits) + "\n";
    waits = 0;
  };
  for (const RecordingPort::Access& access : log) {
    if (access.kind == Kind::Wait) {
      ++waits;
      continue;
    }
    flushWaits();
    char line[32];
    std::snprintf(line, sizeof line, "%s %03X %02X\n", access.kind == Kind::Write ? "out" : "in",
                  static_cast<unsigned>(access.port), static_cast<unsigned>(access.value));
    text += line;
  }
  flushWaits();
  return text;
}

// Status reads with SDA low for each zero bit and high for each one, MSB first.
std::deque<std::uint8_t> statusBits(std::uint8_t value) {
  std::deque<std::uint8_t> reads;
  for (int bit = 7; bit >= 0; --bit) reads.push_back((value >> bit) & 1 ? 0x80 : 0x00);
  return reads;
}

struct Scenario {
  const char* name;
  std::deque<std::uint8_t> reads;
  std::uint8_t defaultRead;
  std::function<void(bus::BusEngine&)> run;
};

std::string recordAll() {
  EngineSet<RecordingPort> set;
  set.engine.setBusDelay(0.001);
  set.debuggerState.traceBufferSize = 1000;
  std::deque<std::uint8_t> twoBytes{0x00};
  for (std::uint8_t byte : {0xB7, 0x3E}) {
    const auto bits = statusBits(byte);
    twoBytes.insert(twoBytes.end(), bits.begin(), bits.end());
  }
  const std::vector<Scenario> scenarios{
      {"OpenBus lpt2", {0x2C}, 0xFF, [](bus::BusEngine& e) { e.openBus(1, 1); }},
      {"OpenBus lpt3", {0x0C}, 0xFF, [](bus::BusEngine& e) { e.openBus(2, 1); }},
      {"OpenBus lpt1", {0x0C}, 0xFF, [](bus::BusEngine& e) { e.openBus(0, 1); }},
      {"InitPort 10", {}, 0xFF, [](bus::BusEngine& e) { e.initPort(10); }},
      {"WriteRegister 42 12 80, acknowledged", {}, 0x00,
       [](bus::BusEngine& e) {
         std::int16_t address = 0x42;
         testing::design(e).writeRegister(address, 0x12, 0x80);
       }},
      {"WriteRegister 42 12 80, nobody answers", {}, 0xFF,
       [](bus::BusEngine& e) {
         std::int16_t address = 0x42;
         testing::design(e).writeRegister(address, 0x12, 0x80);
       }},
      {"WriteRegister 42 12 80, acknowledged on the third sample", {0x80, 0x80, 0x00}, 0x00,
       [](bus::BusEngine& e) {
         std::int16_t address = 0x42;
         testing::design(e).writeRegister(address, 0x12, 0x80);
       }},
      {"SetRegisterPointer 42 F8", {}, 0x00,
       [](bus::BusEngine& e) {
         std::int16_t address = 0x42;
         testing::design(e).setRegisterPointer(address, 0xF8);
       }},
      {"ReadSequential 43 1: B7 3E", twoBytes, 0xFF,
       [](bus::BusEngine& e) {
         std::int16_t address = 0x43;
         testing::design(e).readSequential(address, 1);
       }},
      {"ReadSequential 42 0, nobody answers", {}, 0xFF,
       [](bus::BusEngine& e) {
         std::int16_t address = 0x42;
         testing::design(e).readSequential(address, 0);
       }},
      {"CloseBus", {}, 0xFF, [](bus::BusEngine& e) { e.closeBus(); }},
  };
  std::string text;
  for (const Scenario& scenario : scenarios) {
    set.port.log.clear();
    set.port.reads = scenario.reads;
    set.port.defaultRead = scenario.defaultRead;
    scenario.run(set.engine);
    text += std::string("# ") + scenario.name + "\n" + accessesText(set.port.log);
  }
  return text;
}

std::string recordedFile() {
  std::ifstream file(BRELVION_RECORDED_DIR "/lpt-design-transactions.txt");
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

TEST(LptRecordedSequenceTest, EveryDesignTransactionMakesTheRecordedPortAccesses) {
  const std::string recorded = recordedFile();
  ASSERT_FALSE(recorded.empty()) << "the recorded sequence is missing";
  EXPECT_EQ(recordAll(), recorded);
}

}  // namespace
}  // namespace brelvion::testing
