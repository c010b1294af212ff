#include "base/TextFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "base/FileError.h"
#include "base/RuntimeError.h"
#include "base/Text.h"

namespace brelvion::base {

namespace {

// Closes the descriptor whichever way reading ends.
class ReadDescriptor {
 public:
  explicit ReadDescriptor(int fd) : fd_(fd) {}
  ~ReadDescriptor() { ::close(fd_); }
  ReadDescriptor(const ReadDescriptor&) = delete;
  ReadDescriptor& operator=(const ReadDescriptor&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

std::string readFileBytes(const std::string& path, const std::string& source,
                          const FileSizeLimit& limit) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) throw fileError(errno, "read", path, source);
  const ReadDescriptor file(fd);
  std::string text;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = ::read(file.fd(), buffer, sizeof buffer);
    if (got == 0) return text;
    if (got < 0) {
      if (errno == EINTR) continue;
      throw fileError(errno, "read", path, source);
    }
    text.append(buffer, static_cast<std::size_t>(got));
    if (text.size() > limit.maxBytes) {
      throw RuntimeError(RuntimeError::kInvalidFileFormat, source,
                         path + ": larger than " + std::to_string(limit.maxBytes >> 20) +
                             " MB, too large for " + std::string(limit.what));
    }
  }
}

std::string readTextFile(const std::string& path, const std::string& source,
                         const FileSizeLimit& limit) {
  std::string text = readFileBytes(path, source, limit);
  text.erase(0, text.size() - withoutByteOrderMark(text).size());
  return text;
}

}  // namespace brelvion::base
