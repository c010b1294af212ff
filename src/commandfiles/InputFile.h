#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace brelvion::commandfiles {

// A file read byte by byte through a large buffer, so that reading stays linear in the
// file's size however it is consumed. Closed when the object goes, on every path out.
class InputFile {
 public:
  // Throws RuntimeError naming path and the reason (53 when it does not exist).
  InputFile(const std::string& path, std::string source);
  // A file's text already in memory, read through the same buffer a piece at a time, so
  // that its readers meet the same piece boundaries as on a file; name stands in for a path.
  static InputFile fromText(std::string_view text, const std::string& name);
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
  InputFile(std::string_view text, const std::string& name);
  bool refill();

  std::string path_;
  std::string source_;
  int fd_ = -1;
  // The text read instead of a file, when there is one (fd_ is then -1), and how much of it
  // the buffer has taken.
  std::string text_;
  std::size_t taken_ = 0;
  std::vector<char> buffer_;
  std::size_t position_ = 0;
  std::size_t length_ = 0;
  bool ended_ = false;
};

}  // namespace brelvion::commandfiles
