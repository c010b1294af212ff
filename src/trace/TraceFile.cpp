#include "trace/TraceFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "base/FileError.h"
#include "base/RuntimeError.h"
#include "base/UserFile.h"
#include "trace/DebugLog.h"

namespace brelvion::trace {

namespace {

using base::RuntimeError;

[[noreturn]] void failReading(const std::string& path, int error, const std::string& source) {
  throw base::fileError(error, "read", path, source);
}

// Closes the descriptor whichever way reading ends.
class OpenFile {
 public:
  explicit OpenFile(int fd) : fd_(fd) {}
  ~OpenFile() { ::close(fd_); }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

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

std::string readTraceFile(const std::string& path, const std::string& source) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) failReading(path, errno, source);
  const OpenFile file(fd);
  std::string content;
  char buffer[65536];
  while (true) {
    const ssize_t got = ::read(file.fd(), buffer, sizeof buffer);
    if (got == 0) return content;
    if (got < 0) {
      if (errno == EINTR) continue;
      failReading(path, errno, source);
    }
    content.append(buffer, static_cast<std::size_t>(got));
  }
}

}  // namespace brelvion::trace
