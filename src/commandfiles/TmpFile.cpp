#include "commandfiles/TmpFile.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "base/Text.h"
#include "commandfiles/InputFile.h"
#include "scripts/ScriptReader.h"

namespace brelvion::commandfiles {

namespace {

constexpr const char* kSource = "CreateTmpFile";
constexpr std::size_t kFlushSize = 1 << 16;

// Writes the program's own copy under a unique name beside its final name and renames it
// over that name once complete. rename() replaces whatever entry holds the name, a link
// included, so no file elsewhere is ever written through a planted link.
class ReplacingWriter {
 public:
  explicit ReplacingWriter(const std::string& path) : path_(path), temporary_(path + ".XXXXXX") {
    fd_ = mkstemp(temporary_.data());
    if (fd_ < 0) throw base::fileError(errno, "write", path_, kSource);
    pending_.reserve(kFlushSize * 2);
  }
  ~ReplacingWriter() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_) ::unlink(temporary_.c_str());
  }
  ReplacingWriter(const ReplacingWriter&) = delete;
  ReplacingWriter& operator=(const ReplacingWriter&) = delete;

  void put(char ch) {
    pending_.push_back(ch);
    if (pending_.size() >= kFlushSize) flush();
  }
  void commit() {
    flush();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) throw base::fileError(errno, "write", path_, kSource);
    if (std::rename(temporary_.c_str(), path_.c_str()) != 0) {
      throw base::fileError(errno, "write", path_, kSource);
    }
    committed_ = true;
  }

 private:
  void flush() {
    std::size_t done = 0;
    while (done < pending_.size()) {
      const ssize_t written = ::write(fd_, pending_.data() + done, pending_.size() - done);
      if (written < 0) {
        if (errno == EINTR) continue;
        throw base::fileError(errno, "write", path_, kSource);
      }
      done += static_cast<std::size_t>(written);
    }
    pending_.clear();
  }

  std::string path_;
  std::string temporary_;
  int fd_ = -1;
  bool committed_ = false;
  std::string pending_;
};

// Catches a bring-up script sent as a command file before any of it is sent: its words
// would be read as hex values and make writes to devices nobody named. Watches the first
// word of the first line that has one, as the copy is made, so that a pipe is read once.
class ScriptGuard {
 public:
  explicit ScriptGuard(const std::string& source) : source_(source) {}

  // The next byte the copy keeps on line `line` (from 1).
  void take(char ch, std::size_t line) {
    if (decided_) return;
    if (ch != ' ' && ch != '\t' && word_.size() < kLongestWord) {
      word_.push_back(ch);
      return;
    }
    lineEnded(line);
  }
  void lineEnded(std::size_t line) {
    if (decided_ || base::withoutByteOrderMark(word_).empty()) {
      word_.clear();
      return;
    }
    decided_ = true;
    const std::string_view command = scripts::scriptCommandOf(base::withoutByteOrderMark(word_));
    if (command.empty()) return;
    throw base::RuntimeError(
        base::RuntimeError::kInvalidFileFormat, kSource,
        scripts::scriptNotCommandFile(source_, scripts::ScriptStart{line, std::string(command)}));
  }

 private:
  // Longer than any script command, so the word is none of them.
  static constexpr std::size_t kLongestWord = 16;

  const std::string& source_;
  std::string word_;
  bool decided_ = false;
};

// What the copy is made into when it stays in memory.
struct TextSink {
  void put(char ch) { text.push_back(ch); }
  std::string text;
};

// One source line at a time, as its bytes arrive, into out (a ReplacingWriter or TextSink);
// guard, when given, sees every byte kept.
template <typename Out>
class CommentStripper {
 public:
  explicit CommentStripper(Out& out, ScriptGuard* guard = nullptr) : out_(out), guard_(guard) {}

  void take(unsigned char ch) {
    if (afterCr_ && ch == '\n') {
      afterCr_ = false;
      return;
    }
    afterCr_ = ch == '\r';
    if (ch == '\r' || ch == '\n') {
      endLine();
      return;
    }
    ++column_;
    if (state_ == State::Dropped || state_ == State::Comment) return;
    if (ch == ';') {
      state_ = column_ == 1 ? State::Dropped : State::Comment;
      return;
    }
    if (state_ == State::Leading && ch == ' ') return;
    state_ = State::Text;
    if (guard_ != nullptr) guard_->take(static_cast<char>(ch), line_);
    out_.put(static_cast<char>(ch));
  }
  // A last line without a line end is a line too.
  void finish() {
    if (column_ > 0) endLine();
  }

 private:
  enum class State { Leading, Text, Comment, Dropped };

  void endLine() {
    if (guard_ != nullptr) guard_->lineEnded(line_);
    ++line_;
    if (state_ != State::Dropped) {
      out_.put('\r');
      out_.put('\n');
    }
    state_ = State::Leading;
    column_ = 0;
  }

  Out& out_;
  ScriptGuard* guard_;
  std::size_t line_ = 1;
  State state_ = State::Leading;
  std::size_t column_ = 0;
  bool afterCr_ = false;
};

void copyWithoutComments(const std::string& source, const std::string& target) {
  ReplacingWriter out(target);
  InputFile in(source, kSource);
  ScriptGuard guard(source);
  CommentStripper<ReplacingWriter> stripper(out, &guard);
  while (!in.atEnd()) stripper.take(in.get());
  stripper.finish();
  out.commit();
}

void leaveEmpty(const std::string& target) {
  try {
    ReplacingWriter out(target);
    out.commit();
  } catch (const base::RuntimeError&) {
    // No empty copy can be made: then no copy at all, so a later send reports the missing
    // file instead of sending the writes of an older one. The box for the first error is
    // what the user needs; this one has the same cause.
    ::unlink(target.c_str());
  }
}

}  // namespace

std::string commentFreeCopy(std::string_view source) {
  TextSink out;
  CommentStripper<TextSink> stripper(out);
  for (const char ch : source) stripper.take(static_cast<unsigned char>(ch));
  stripper.finish();
  return std::move(out.text);
}

std::optional<Failure> createTmpFile(core::ToolCore& core, const std::string& source,
                                     const std::string& directory) {
  std::string& target = core.values().tmpFileName;
  target =
      directory.empty() ? std::string(kTmpFileName) : directory + "/" + std::string(kTmpFileName);
  try {
    copyWithoutComments(source, target);
    return std::nullopt;
  } catch (const base::RuntimeError& error) {
    leaveEmpty(target);
    return reportFailure(core.desktop(), Step::CreateTmpFile, error);
  }
}

void prepareCommandFile(core::ToolCore& core, const std::string& chosenFile) {
  if (chosenFile.empty()) return;
  createTmpFile(core, chosenFile);
  core.values().sendFileName = core.values().tmpFileName;
}

void cleanUp(core::ToolCore& core) {
  const std::string& name = core.values().tmpFileName;
  if (name.empty()) return;
  if (::unlink(name.c_str()) == 0 || errno == ENOENT) return;
  reportFailure(core.desktop(), Step::CleanUp, base::fileError(errno, "delete", name, "CleanUp"));
}

}  // namespace brelvion::commandfiles
