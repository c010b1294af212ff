#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace brelvion::commandfiles {

// A file read byte by byte through a large buffer, so that reading stays linear in the
// file's size however it is consumed. Closed when the object goes, on every path out.
class InputFile {
 public:
  // Throws RuntimeError naming path and the reason (53 when it does not exist).
  InputFile(const std::string& path, std::string source);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // True when every byte has been read. Throws RuntimeError when reading fails.
  bool atEnd() {
    if (position_ < length_) return false;
    return !refill();
  }
  // The next byte; only when !atEnd().
  unsigned char get() { return static_cast<unsigned char>(buffer_[position_++]); }

  const std::string& path() const { return path_; }

 private:
  bool refill();

  std::string path_;
  std::string source_;
  int fd_ = -1;
  std::vector<char> buffer_;
  std::size_t position_ = 0;
  std::size_t length_ = 0;
  bool ended_ = false;
};

}  // namespace brelvion::commandfiles
