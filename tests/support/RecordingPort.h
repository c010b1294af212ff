#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "port/PortIo.h"

namespace brelvion::testing {

// A port that records every access in order and answers reads from a script.
class RecordingPort : public port::PortIo {
 public:
  enum class Kind { Write, Read, Wait };
  struct Access {
    Kind kind;
    std::uint16_t port;
    std::uint8_t value;
    bool operator==(const Access&) const = default;
  };

  std::uint8_t inpb(std::uint16_t port) override {
    std::uint8_t value = defaultRead;
    if (!reads.empty()) {
      value = reads.front();
      reads.pop_front();
    }
    log.push_back({Kind::Read, port, value});
    return value;
  }
  void out(std::uint16_t port, std::uint8_t value) override {
    log.push_back({Kind::Write, port, value});
  }
  void waitQuanta(std::int64_t passes) override {
    for (std::int64_t i = 0; i < passes; ++i) log.push_back({Kind::Wait, 0, 0});
  }
  void setQuantum(std::chrono::nanoseconds quantum) override { quanta.push_back(quantum); }
  void setCapture(capture::BusCapture*) override {}

  std::vector<Access> writes() const { return only(Kind::Write); }
  std::vector<Access> readsDone() const { return only(Kind::Read); }
  std::size_t waits() const { return only(Kind::Wait).size(); }

  // Values the next reads return, front first; defaultRead once they run out.
  std::deque<std::uint8_t> reads;
  std::uint8_t defaultRead = 0xFF;
  std::vector<Access> log;
  // Every quantum set, in order.
  std::vector<std::chrono::nanoseconds> quanta;

 private:
  std::vector<Access> only(Kind kind) const {
    std::vector<Access> result;
    for (const Access& access : log) {
      if (access.kind == kind) result.push_back(access);
    }
    return result;
  }
};

}  // namespace brelvion::testing
