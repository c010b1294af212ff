#include "scripts/Script.h"

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
  }
  return "";
}

bool Step::sameMeaning(const Step& other) const {
  if (op != other.op || number != other.number) return false;
  if (op == Op::Delay) return true;
  return target == other.target && reg == other.reg && value == other.value && mask == other.mask;
}

std::vector<Step> stepsOf(const Script& script) {
  std::vector<Step> steps;
  Target target;
  for (const Statement& statement : script.statements) {
    switch (statement.op) {
      case Op::Comment:
        break;
      case Op::Device:
        target.device = static_cast<std::uint8_t>(statement.value);
        break;
      case Op::RegBits:
        target.regBits = static_cast<std::uint8_t>(statement.value);
        break;
      case Op::ValBits:
        target.valBits = static_cast<std::uint8_t>(statement.value);
        break;
      default:
        steps.push_back(Step{statement.op, target, statement.reg, statement.value, statement.mask,
                             statement.number, statement.line});
        break;
    }
  }
  return steps;
}

bool sameMeaning(const std::vector<Step>& a, const std::vector<Step>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!a[i].sameMeaning(b[i])) return false;
  }
  return true;
}

}  // namespace brelvion::scripts
