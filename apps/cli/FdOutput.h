#pragma once

#include <array>
#include <streambuf>

namespace brelvion::apps::cli {

// An output buffer over a file descriptor that keeps the reason of its first failed write.
// std::cout only sets a flag, by when errno may say anything; a script must learn that its
// output was lost and why ("No space left on device", "Bad file descriptor").
class FdOutputBuffer : public std::streambuf {
 public:
  // error: a failure known before anything is written (a descriptor that was closed).
  explicit FdOutputBuffer(int fd, int error = 0);
  ~FdOutputBuffer() override;

  FdOutputBuffer(const FdOutputBuffer&) = delete;
  FdOutputBuffer& operator=(const FdOutputBuffer&) = delete;

  // errno of the first failure, 0 while everything got through.
  int error() const { return error_; }

 protected:
  int_type overflow(int_type ch) override;
  int sync() override;

 private:
  bool drain();

  int fd_;
  int error_;
  std::array<char, 4096> buffer_{};
};

// Makes sure descriptors 0, 1 and 2 are open, on /dev/null where they were not, so that no
// file the program opens later (a capture, a port's device node) takes their number and
// receives its output. Returns whether standard output was open.
bool occupyStandardDescriptors();

}  // namespace brelvion::apps::cli
