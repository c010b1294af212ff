#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "registers/Snapshot.h"

namespace brelvion::registers {

// One register whose value differs between two sets of values, or that only one of them
// holds.
struct Difference {
  std::uint32_t address = 0;
  std::string name;
  // The left side's width, or the only side's.
  int valueBytes = 1;
  std::optional<std::uint32_t> left;
  std::optional<std::uint32_t> right;
  // The right side's width where it is another: that alone is a difference, and each value
  // is shown at its own width ("12 -> 0012").
  std::optional<int> rightValueBytes = std::nullopt;
  bool operator==(const Difference&) const = default;
};

enum class CompareScope {
  // A register only one side holds is a difference too (a snapshot against a snapshot).
  Everything,
  // Only registers both sides hold (live values against the defaults, which only some
  // registers have).
  Common,
};

// The differences in address order. Both sides are in address order, as snapshots and
// maps keep them. A register of another width on the other side is a difference.
std::vector<Difference> compareValues(const std::vector<RegisterValue>& left,
                                      const std::vector<RegisterValue>& right,
                                      CompareScope scope = CompareScope::Everything);

// The defaults of the map's registers that have one.
std::vector<RegisterValue> defaultValues(const RegisterMap& map);

// "0100 MODE_SELECT: 00 -> 01", "0003 FRAME_COUNT: 07 -> (none)": a line of the list of
// differences, left value first (the one that was, where one side is a reference).
std::string differenceText(const Difference& difference, int addressBytes);

}  // namespace brelvion::registers
