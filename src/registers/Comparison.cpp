#include "registers/Comparison.h"

#include "registers/MapWindowLogic.h"

namespace brelvion::registers {

namespace {

constexpr const char* kLiveValues = "live values";

}  // namespace

void Comparison::compareLive(std::vector<RegisterValue> reference, std::string name,
                             CompareScope scope, const RegisterTable& table) {
  active_ = true;
  live_ = true;
  reference_ = std::move(reference);
  scope_ = scope;
  left_ = std::move(name);
  right_ = kLiveValues;
  differences_ = compareValues(reference_, table.liveValues(), scope_);
}

void Comparison::compareFixed(const std::vector<RegisterValue>& left,
                              const std::vector<RegisterValue>& right, std::string leftName,
                              std::string rightName) {
  active_ = true;
  live_ = false;
  reference_.clear();
  left_ = std::move(leftName);
  right_ = std::move(rightName);
  differences_ = compareValues(left, right);
}

void Comparison::clear() { *this = Comparison(); }

bool Comparison::follow(const RegisterTable& table) {
  if (!live_) return false;
  std::vector<Difference> now = compareValues(reference_, table.liveValues(), scope_);
  if (now == differences_) return false;
  differences_ = std::move(now);
  return true;
}

std::string Comparison::title() const {
  return active_ ? comparisonTitle(left_, right_, differences_.size()) : "No comparison";
}

}  // namespace brelvion::registers
