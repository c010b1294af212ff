#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace brelvion::fuzz {

// A property that does not hold is a finding just like a crash: say which one and abort,
// so that libFuzzer keeps the input as a crash artifact.
[[noreturn]] inline void propertyFailed(const char* file, int line, const char* condition,
                                        const std::string& detail) {
  std::fprintf(stderr, "\nproperty failed at %s:%d: %s\n  %s\n", file, line, condition,
               detail.c_str());
  std::abort();
}

// The detail is built only when the property fails.
#define FUZZ_CHECK(condition, detail) \
  ((condition) ? static_cast<void>(0) \
               : ::brelvion::fuzz::propertyFailed(__FILE__, __LINE__, #condition, (detail)))

// A private folder for the files a target writes, made once per process. In memory when
// the system has /dev/shm: the writers sync every file, which on a disk would make file
// round trips a hundred times slower than everything else.
inline const std::filesystem::path& scratchDirectory() {
  static const std::filesystem::path dir = [] {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path base = fs::is_directory("/dev/shm", error) && access("/dev/shm", W_OK) == 0
                              ? fs::path("/dev/shm")
                              : fs::temp_directory_path();
    std::string pattern = (base / "brelvion-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    // Kept apart from the path object, which is destroyed before the exit handler runs.
    static const std::string* const removeAtExit = new std::string(pattern);
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(*removeAtExit, ignored);
    });
    return fs::path(pattern);
  }();
  return dir;
}

// The lines of a text file as every reader of this program takes them: a line ends at CR,
// at LF or at CR LF (one end, not two), and the text after the last end is a line only
// when it is not empty. Written apart from the readers; a line is taken whole, not
// character by character, which under the sanitizers costs a comparison hook per byte.
inline std::vector<std::string> fileLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    start = end + (crLf ? 2 : 1);
  }
  return lines;
}

// How many lines fileLines finds, without making them.
inline std::size_t fileLineCount(std::string_view text) {
  std::size_t count = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    ++count;
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) break;
    const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    start = end + (crLf ? 2 : 1);
  }
  return count;
}

// Takes the fuzzer's bytes front to back as the choices a target makes. Once they run out
// every choice is zero, so a short input is still a complete (small) case.
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool empty() const { return position_ >= size_; }
  std::size_t remaining() const { return empty() ? 0 : size_ - position_; }

  std::uint8_t byte() { return empty() ? 0 : data_[position_++]; }
  bool flag() { return (byte() & 1) != 0; }
  std::uint16_t word() {
    const std::uint16_t high = byte();
    return static_cast<std::uint16_t>((high << 8) | byte());
  }
  // 0 to bound - 1; bound must not be 0.
  std::uint32_t below(std::uint32_t bound) {
    const std::uint32_t value = bound <= 0x100 ? byte() : (bound <= 0x10000 ? word() : wide());
    return value % bound;
  }
  // Up to maxLength bytes, the length taken first.
  std::string text(std::size_t maxLength) {
    const std::size_t length = below(static_cast<std::uint32_t>(maxLength) + 1);
    std::string result;
    while (result.size() < length && !empty()) result.push_back(static_cast<char>(byte()));
    return result;
  }
  std::string rest() {
    if (empty()) return {};
    std::string result(reinterpret_cast<const char*>(data_) + position_, size_ - position_);
    position_ = size_;
    return result;
  }

 private:
  std::uint32_t wide() {
    const std::uint32_t high = word();
    return (high << 16) | word();
  }

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

}  // namespace brelvion::fuzz
