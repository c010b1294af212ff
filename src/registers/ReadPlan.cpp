#include "registers/ReadPlan.h"

#include <algorithm>

namespace brelvion::registers {

std::vector<ReadRun> planReads(const RegisterMap& map, std::vector<std::size_t> chosen,
                               std::size_t maxBytes) {
  std::sort(chosen.begin(), chosen.end());
  chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
  std::vector<ReadRun> runs;
  for (std::size_t index : chosen) {
    if (index >= map.registers.size()) continue;
    const Register& reg = map.registers[index];
    if (!reg.readable()) continue;
    const auto bytes = static_cast<std::size_t>(reg.valueBytes);
    if (!runs.empty()) {
      ReadRun& run = runs.back();
      const bool next = run.first + run.count == index;
      const bool adjacent = run.start + run.byteCount == reg.address;
      const bool fits = run.byteCount + bytes <= maxBytes;
      if (next && adjacent && fits && map.format.addressBytes != 0) {
        run.byteCount += bytes;
        ++run.count;
        continue;
      }
    }
    runs.push_back({reg.address, bytes, index, 1});
  }
  return runs;
}

std::vector<ReadRun> planReadAll(const RegisterMap& map, std::size_t maxBytes) {
  std::vector<std::size_t> all(map.registers.size());
  for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
  return planReads(map, std::move(all), maxBytes);
}

}  // namespace brelvion::registers
