#include "scripts/ScriptWriter.h"

#include "numconv/HexText.h"

namespace brelvion::scripts {

namespace {

void appendHex(std::string& text, std::uint32_t value, int bytes) {
  text.push_back(' ');
  numconv::appendUpperHex(text, value, 2 * bytes);
}

void appendDecimal(std::string& text, std::uint32_t value) {
  text.push_back(' ');
  text += std::to_string(value);
}

void appendComment(std::string& text, const std::string& comment, bool alone) {
  if (!alone && comment.empty()) return;
  text += alone ? ";" : "  ;";
  if (comment.empty()) return;
  text.push_back(' ');
  for (const char ch : comment) text.push_back(ch == '\r' || ch == '\n' ? ' ' : ch);
}

}  // namespace

std::string writeStatement(const Statement& statement, const Target& widths) {
  std::string text(commandName(statement.op));
  switch (statement.op) {
    case Op::Comment:
    case Op::Pause:
    case Op::Yield:
      break;
    case Op::Device:
      appendHex(text, statement.value, 1);
      break;
    case Op::RegBits:
    case Op::ValBits:
    case Op::Delay:
      appendDecimal(text, statement.op == Op::Delay ? statement.number : statement.value);
      break;
    case Op::Write:
    case Op::Expect:
      appendHex(text, statement.reg, widths.format.addressBytes);
      appendHex(text, statement.value, widths.format.valueBytes);
      break;
    case Op::Modify:
    case Op::Poll:
      appendHex(text, statement.reg, widths.format.addressBytes);
      appendHex(text, statement.mask, widths.format.valueBytes);
      appendHex(text, statement.value, widths.format.valueBytes);
      if (statement.op == Op::Poll) appendDecimal(text, statement.number);
      break;
    case Op::Read:
      appendHex(text, statement.reg, widths.format.addressBytes);
      appendDecimal(text, statement.number);
      break;
  }
  appendComment(text, statement.comment, statement.op == Op::Comment);
  return text;
}

std::string writeScript(const Script& script) {
  std::string text;
  Target widths;
  for (const Statement& statement : script.statements) {
    if (statement.op == Op::RegBits || statement.op == Op::ValBits) applySetting(statement, widths);
    text += writeStatement(statement, widths);
    text.push_back('\n');
  }
  return text;
}

}  // namespace brelvion::scripts
