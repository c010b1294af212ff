#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "commandfiles/RegisterFields.h"
#include "commandfiles/Sender.h"
#include "commandfiles/TmpFile.h"
#include "simulator/SimulatedParallelPort.h"
#include "support/EngineFixture.h"
#include "support/FakeClock.h"
#include "support/ScratchDirectory.h"

namespace brelvion::testing {

struct Write {
  int device;
  int subAddress;
  int data;
  bool operator==(const Write&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Write& w) {
  return out << std::hex << w.device << ' ' << w.subAddress << ' ' << w.data;
}

// A command file sent to the simulated sensor through its comment-free copy, with a clock
// that never waits; every write is recorded as the send reports it.
struct SendFixture {
  SendFixture() {
    set.engine.setBusDelay(0.001);
    set.engine.openBus(0, 0);
    set.engine.initPort(10);
    hooks.clock = &clock;
    hooks.reported = [this](const scripts::CommandReport& report) {
      const scripts::Step& write = report.step;
      writes.push_back({write.target.device, static_cast<int>(write.reg),
                        static_cast<int>(write.value)});
    };
    hooks.updateDeviceMonitor = [this](bool acknowledged) { acks.push_back(acknowledged); };
  }

  // Writes source as a command file, copies it and sends the copy.
  commandfiles::SendOutcome send(const std::string& source) {
    const std::string path = scratch.write("commands.i2c", source);
    commandfiles::createTmpFile(set.core, path, scratch.path().string());
    return commandfiles::sendCommandFile(set.core, set.core.values().tmpFileName, options, hooks);
  }

  std::string tmpText() const { return readWhole(set.core.values().tmpFileName); }

  ScratchDirectory scratch;
  EngineSet<simulator::SimulatedParallelPort> set;
  FakeClock clock;
  commandfiles::SendOptions options;
  // The window's fields, from which a dump takes its device.
  commandfiles::RegisterFields fields;
  commandfiles::SendHooks hooks;
  std::vector<Write> writes;
  std::vector<bool> acks;
};

}  // namespace brelvion::testing
