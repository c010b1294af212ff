#include "commandfiles/InputFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
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

InputFile::InputFile(std::string_view text, const std::string& name)
    : path_(name), text_(text) {
  // Never more than the file reader's buffer, so that a long text is read in the same pieces.
  buffer_.resize(std::min(kBufferSize, text_.size()));
}

InputFile InputFile::fromText(std::string_view text, const std::string& name) {
  return InputFile(text, name);
}

InputFile::~InputFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool InputFile::refill() {
  if (fd_ < 0) {
    const std::size_t piece = std::min(buffer_.size(), text_.size() - taken_);
    if (piece == 0) return false;
    std::copy_n(text_.data() + taken_, piece, buffer_.data());
    taken_ += piece;
    position_ = 0;
    length_ = piece;
    return true;
  }
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
