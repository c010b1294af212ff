#include "scripts/Script.h"

#include <cstdint>
#include <utility>

namespace brelvion::scripts {

std::string_view commandName(Op op) {
  switch (op) {
    case Op::Comment:
      return "";
    case Op::Device:
      return "device";
    case Op::RegBits:
      return "regbits";
    case Op::ValBits:
      return "valbits";
    case Op::Write:
      return "write";
    case Op::Delay:
      return "delay";
    case Op::Modify:
      return "modify";
    case Op::Poll:
      return "poll";
    case Op::Expect:
      return "expect";
    case Op::Read:
      return "read";
    case Op::Pause:
    case Op::Yield:
      return "";
  }
  return "";
}

bool Step::sameMeaning(const Step& other) const {
  if (op != other.op || number != other.number) return false;
  if (op == Op::Delay) return true;
  if (op == Op::Pause) return !(seconds < other.seconds) && !(other.seconds < seconds);
  return target == other.target && reg == other.reg && value == other.value && mask == other.mask;
}

bool applySetting(const Statement& statement, Target& target) {
  const auto value = static_cast<std::uint8_t>(statement.value);
  switch (statement.op) {
    case Op::Device:
      target.device = value;
      return true;
    // The lines give bits, checked to be whole bytes when read.
    case Op::RegBits:
      target.format.addressBytes = value / 8;
      return true;
    case Op::ValBits:
      target.format.valueBytes = value / 8;
      return true;
    default:
      return false;
  }
}

std::vector<Step> stepsOf(const Script& script) {
  std::vector<Step> steps;
  Target target;
  for (const Statement& statement : script.statements) {
    if (statement.op == Op::Comment || applySetting(statement, target)) continue;
    steps.push_back(Step{statement.op, target, statement.reg, statement.value, statement.mask,
                         statement.number, statement.line, 0});
  }
  return steps;
}

namespace {

// The steps with each run of delays as one wait of their total, which is what the run does:
// a C table row holds one delay, so an export adds up the delays after a write.
using JoinedSteps = std::vector<std::pair<const Step*, std::uint64_t>>;

JoinedSteps withDelaysJoined(const std::vector<Step>& steps) {
  JoinedSteps joined;
  for (const Step& step : steps) {
    if (step.op == Op::Delay && !joined.empty() && joined.back().first->op == Op::Delay) {
      joined.back().second += step.number;
    } else {
      joined.emplace_back(&step, step.number);
    }
  }
  return joined;
}

}  // namespace

bool sameMeaning(const std::vector<Step>& a, const std::vector<Step>& b) {
  const auto first = withDelaysJoined(a);
  const auto second = withDelaysJoined(b);
  if (first.size() != second.size()) return false;
  for (std::size_t i = 0; i < first.size(); ++i) {
    const Step& step = *first[i].first;
    const Step& other = *second[i].first;
    if (step.op == Op::Delay) {
      if (other.op != Op::Delay || first[i].second != second[i].second) return false;
    } else if (!step.sameMeaning(other)) {
      return false;
    }
  }
  return true;
}

}  // namespace brelvion::scripts
