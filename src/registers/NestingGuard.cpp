#include "registers/NestingGuard.h"

namespace brelvion::registers {

namespace {

constexpr int kMaxFlowDepth = 16;
constexpr int kMaxIndent = 64;

}  // namespace

std::optional<NestingProblem> nestingProblem(const std::string& text) {
  int depth = 0;
  int line = 1;
  std::size_t lineStart = 0;
  char quote = 0;
  bool comment = false;
  bool lineHead = true;
  int indent = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char ch = text[i];
    const SourcePosition at{line, static_cast<int>(i - lineStart) + 1};
    if (ch == '\n') {
      ++line;
      lineStart = i + 1;
      comment = false;
      // A quoted scalar's next line is part of it, not indentation.
      lineHead = quote == 0;
      indent = 0;
      continue;
    }
    if (comment) continue;
    if (lineHead) {
      const bool entry = (ch == '-' || ch == '?') && i + 1 < text.size() &&
                         (text[i + 1] == ' ' || text[i + 1] == '\n');
      if (ch == ' ' || ch == '\t' || entry) {
        indent += entry ? 2 : 1;
        if (entry && text[i + 1] == ' ') ++i;
        if (indent > kMaxIndent) return NestingProblem{at, "indented deeper than a description nests"};
        continue;
      }
      lineHead = false;
    }
    if (quote != 0) {
      if (quote == '"' && ch == '\\') {
        ++i;
      } else if (ch == quote) {
        quote = 0;
      }
      continue;
    }
    const char before = i == 0 ? ' ' : text[i - 1];
    const bool scalarStart = before == ' ' || before == '\t' || before == '[' || before == '{' ||
                             before == ',' || i == lineStart;
    if ((ch == '"' || ch == '\'') && scalarStart) {
      quote = ch;
    } else if (ch == '#' && (i == 0 || text[i - 1] == ' ' || text[i - 1] == '\t')) {
      comment = true;
    } else if (ch == '[' || ch == '{') {
      if (++depth > kMaxFlowDepth) return NestingProblem{at, "nested deeper than a description nests"};
    } else if ((ch == ']' || ch == '}') && depth > 0) {
      --depth;
    }
  }
  return std::nullopt;
}

}  // namespace brelvion::registers
