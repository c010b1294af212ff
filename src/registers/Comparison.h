#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "registers/Diff.h"
#include "registers/RegisterTable.h"

namespace brelvion::registers {

// What the comparison pane holds: nothing, two fixed sets of values, or a reference (a
// snapshot, the defaults) against the live values, which it follows as they change until
// it is cleared.
class Comparison {
 public:
  bool active() const { return active_; }
  void compareLive(std::vector<RegisterValue> reference, std::string name, CompareScope scope,
                   const RegisterTable& table);
  void compareFixed(const std::vector<RegisterValue>& left, const std::vector<RegisterValue>& right,
                    std::string leftName, std::string rightName);
  void clear();
  // Compares a reference against the table's live values again; true when the differences
  // changed.
  bool follow(const RegisterTable& table);

  // "No comparison", or what comparisonTitle says.
  std::string title() const;
  const std::vector<Difference>& differences() const { return differences_; }

 private:
  bool active_ = false;
  bool live_ = false;
  std::vector<RegisterValue> reference_;
  CompareScope scope_ = CompareScope::Everything;
  std::string left_;
  std::string right_;
  std::vector<Difference> differences_;
};

}  // namespace brelvion::registers
