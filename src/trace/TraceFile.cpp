#include "trace/TraceFile.h"

#include "base/TextFile.h"
#include "base/UserFile.h"
#include "trace/DebugLog.h"

namespace brelvion::trace {

std::string traceFileText(std::string_view trace) {
  std::string text;
  text.reserve(trace.size() + kTraceLineBreak.size());
  text.append(trace).append(kTraceLineBreak);
  return text;
}

std::string traceFromFileText(std::string_view content) {
  std::string trace;
  trace.reserve(content.size() + content.size() / 16 + 2);
  std::size_t start = 0;
  while (start < content.size()) {
    const std::size_t end = content.find_first_of("\r\n", start);
    const std::size_t lineEnd = end == std::string_view::npos ? content.size() : end;
    trace.append(kTraceLineBreak).append(content.substr(start, lineEnd - start));
    if (end == std::string_view::npos) break;
    const bool crLf = content[end] == '\r' && end + 1 < content.size() && content[end + 1] == '\n';
    start = end + (crLf ? 2 : 1);
  }
  return trace;
}

void saveTraceFile(const std::string& path, std::string_view trace, const std::string& source) {
  base::writeUserFile(path, traceFileText(trace), source);
}

// The bytes as they are, a leading EF BB BF too: they are three characters of the trace.
std::string readTraceFile(const std::string& path, const std::string& source) {
  return base::readFileBytes(path, source);
}

}  // namespace brelvion::trace
