#include "commandfiles/InputFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "commandfiles/CommandFileErrors.h"

namespace brelvion::commandfiles {

namespace {
constexpr std::size_t kBufferSize = 1 << 16;
}

InputFile::InputFile(const std::string& path, std::string source)
    : path_(path), source_(std::move(source)) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  if (fd_ < 0) throw base::fileError(errno, "read", path_, source_);
  buffer_.resize(kBufferSize);
}

InputFile::~InputFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool InputFile::refill() {
  while (!ended_) {
    const ssize_t got = ::read(fd_, buffer_.data(), buffer_.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      throw base::fileError(errno, "read", path_, source_);
    }
    if (got == 0) {
      ended_ = true;
      break;
    }
    position_ = 0;
    length_ = static_cast<std::size_t>(got);
    return true;
  }
  return false;
}

}  // namespace brelvion::commandfiles
