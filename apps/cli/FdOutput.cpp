#include "FdOutput.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace brelvion::apps::cli {

FdOutputBuffer::FdOutputBuffer(int fd, int error) : fd_(fd), error_(error) {
  setp(buffer_.data(), buffer_.data() + buffer_.size());
}

FdOutputBuffer::~FdOutputBuffer() { drain(); }

FdOutputBuffer::int_type FdOutputBuffer::overflow(int_type ch) {
  if (!drain()) return traits_type::eof();
  if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
  *pptr() = traits_type::to_char_type(ch);
  pbump(1);
  return ch;
}

int FdOutputBuffer::sync() { return drain() ? 0 : -1; }

// After a failure the rest is dropped: writing on could only interleave with a gap.
bool FdOutputBuffer::drain() {
  const char* next = pbase();
  while (error_ == 0 && next < pptr()) {
    const ssize_t written = ::write(fd_, next, static_cast<std::size_t>(pptr() - next));
    if (written < 0) {
      if (errno != EINTR) error_ = errno;
      continue;
    }
    next += written;
  }
  setp(buffer_.data(), buffer_.data() + buffer_.size());
  return error_ == 0;
}

bool occupyStandardDescriptors() {
  bool stdoutOpen = true;
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1) continue;
    if (fd == STDOUT_FILENO) stdoutOpen = false;
    // open returns the lowest free number, which is fd here.
    ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
  }
  return stdoutOpen;
}

}  // namespace brelvion::apps::cli
