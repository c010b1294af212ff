#pragma once

namespace brelvion::bus {

// What the register commands read the bus with, for the whole program.
struct BusState {
  // A register read's pointer write and read are joined by a repeated START instead of a
  // STOP then a START (the register commands, a script's reads).
  bool RepeatedStartReads = false;
};

}  // namespace brelvion::bus
