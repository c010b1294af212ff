#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "commandfiles/Sender.h"
#include "commandfiles/TmpFile.h"
#include "port/simulated/SimulatedParallelPort.h"
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
// that never waits; every write is recorded as UpdateDeviceMonitor sees it.
struct SendFixture {
  SendFixture() {
    set.engine.setBusDelay(0.001);
    set.engine.OpenBus(0, 0);
    set.engine.InitPort(10);
    hooks.clock = &clock;
    hooks.fields = &fields;
    hooks.UpdateDeviceMonitor = [this](bool) {
      writes.push_back({fields.DeviceAddress, fields.SubAddress, fields.WriteData});
    };
  }

  // Writes source as a command file, copies it and sends the copy.
  commandfiles::SendOutcome send(const std::string& source) {
    const std::string path = scratch.write("commands.i2c", source);
    commandfiles::CreateTmpFile(set.core, path, scratch.path().string());
    return commandfiles::SendCommandFile(set.core, set.core.values().TmpFileName, hooks);
  }

  std::string tmpText() const { return readWhole(set.core.values().TmpFileName); }

  ScratchDirectory scratch;
  EngineSet<port::simulated::SimulatedParallelPort> set;
  FakeClock clock;
  // The window's fields, which the send reads each group into.
  commandfiles::RegisterFields fields;
  commandfiles::SendHooks hooks;
  std::vector<Write> writes;
};

}  // namespace brelvion::testing
