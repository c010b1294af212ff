#include "base/UserFile.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "base/FileError.h"
#include "base/RuntimeError.h"

namespace brelvion::base {

namespace {

constexpr int kMaxLinkDepth = 40;
constexpr const char* kStandardOutput = "standard output";

[[noreturn]] void fail(const std::string& path, int error, const std::string& source) {
  throw fileError(error, "write", path, source);
}

std::string directoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The descriptor a name stands for when it names one of the program's own open files.
// These are links the kernel resolves to the open file itself; followed as text they lead
// to names such as "pipe:[1234]", and replacing the file they show would lose what the
// program already wrote through the descriptor.
std::optional<int> descriptorNamed(const std::string& path) {
  if (path == "/dev/stdout") return STDOUT_FILENO;
  if (path == "/dev/stderr") return STDERR_FILENO;
  for (const std::string_view prefix :
       {std::string_view("/dev/fd/"), std::string_view("/proc/self/fd/")}) {
    if (path.rfind(prefix, 0) != 0 || path.size() == prefix.size()) continue;
    int fd = -1;
    const char* end = path.data() + path.size();
    const auto [last, error] = std::from_chars(path.data() + prefix.size(), end, fd);
    if (error == std::errc{} && last == end) return fd;
  }
  return std::nullopt;
}

std::string readLink(const std::string& path, std::size_t sizeHint) {
  std::vector<char> target(sizeHint + 1);
  for (;;) {
    const ssize_t length = readlink(path.c_str(), target.data(), target.size());
    if (length < 0) return {};
    if (static_cast<std::size_t>(length) < target.size()) {
      return std::string(target.data(), static_cast<std::size_t>(length));
    }
    target.resize(target.size() * 2);  // the link's size was not known (as in /proc)
  }
}

// Where a chain of symbolic links ends: a path (itself when it is no link), or a
// descriptor; error is the system's reason when the chain cannot be followed.
struct LinkEnd {
  std::string path;
  std::optional<int> fd;
  int error = 0;
};

LinkEnd followLinks(const std::string& path) {
  std::string current = path;
  for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
    if (const auto fd = descriptorNamed(current)) return {current, fd};
    struct stat info {};
    if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return {current, {}};
    errno = 0;
    const std::string next = readLink(current, static_cast<std::size_t>(info.st_size));
    if (next.empty()) return {current, {}, errno != 0 ? errno : EINVAL};
    current = next.front() == '/' ? next : directoryOf(current) + "/" + next;
  }
  return {current, {}, ELOOP};
}

// Why a new file could not be made in the folder of path, or 0.
int folderProblem(const std::string& path) {
  const std::string folder = directoryOf(path);
  struct stat info {};
  if (stat(folder.c_str(), &info) != 0) return errno;
  if (!S_ISDIR(info.st_mode)) return ENOTDIR;
  return faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0 ? 0 : errno;
}

// Why one of the program's own descriptors could not take a file, or 0.
int descriptorProblem(int fd) {
  const int flags = fcntl(fd, F_GETFL);
  if (flags < 0) return errno;
  return (flags & O_ACCMODE) == O_RDONLY ? EBADF : 0;
}

// The reason writeUserFile would fail at path, or 0, looked at without writing.
int targetProblem(const std::string& path) {
  if (path.empty()) return ENOENT;
  if (path == "-") return 0;
  if (path.back() == '/') return EISDIR;
  const LinkEnd end = followLinks(path);
  if (end.error != 0) return end.error;
  if (end.fd) return descriptorProblem(*end.fd);
  struct stat info {};
  if (stat(end.path.c_str(), &info) != 0) return errno == ENOENT ? folderProblem(end.path) : errno;
  if (S_ISDIR(info.st_mode)) return EISDIR;
  if (faccessat(AT_FDCWD, end.path.c_str(), W_OK, AT_EACCESS) != 0) return errno;
  return S_ISREG(info.st_mode) ? folderProblem(end.path) : 0;
}

// While it lives, a reader that went away makes a write fail with EPIPE instead of ending
// the program with SIGPIPE; a SIGPIPE raised meanwhile is taken back.
class SigpipeBlock {
 public:
  SigpipeBlock() {
    sigemptyset(&pipe_);
    sigaddset(&pipe_, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    wasPending_ = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipe_, &previous_);
  }
  ~SigpipeBlock() {
    sigset_t pending;
    sigpending(&pending);
    if (!wasPending_ && sigismember(&pending, SIGPIPE) == 1) {
      const timespec now{};
      sigtimedwait(&pipe_, nullptr, &now);
    }
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
  }
  SigpipeBlock(const SigpipeBlock&) = delete;
  SigpipeBlock& operator=(const SigpipeBlock&) = delete;

 private:
  sigset_t pipe_{};
  sigset_t previous_{};
  bool wasPending_ = false;
};

// Writes all of content to fd; false with errno set when something was not written.
bool writeAll(int fd, std::string_view content) {
  SigpipeBlock noSigpipe;
  while (!content.empty()) {
    const ssize_t written = ::write(fd, content.data(), content.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

void writeInPlace(int fd, const std::string& path, std::string_view content,
                  const std::string& source, bool closeAfter) {
  const bool ok = writeAll(fd, content);
  const int error = errno;
  if (closeAfter && ::close(fd) != 0 && ok) fail(path, errno, source);
  if (!ok) fail(path, error, source);
}

// Beside the target, so that the rename stays on one file system; a shorter name where the
// target's own name leaves no room for the suffix.
std::string temporaryNameFor(const std::string& target) {
  constexpr std::size_t kSuffix = 7;  // ".XXXXXX"
  if (nameOf(target).size() + kSuffix <= NAME_MAX) return target + ".XXXXXX";
  return directoryOf(target) + "/.brelvion.XXXXXX";
}

// The existing file's mode and owner where the rules allow; mkstemp made the file 0600.
// The owner first: a change of owner clears the set-id bits the mode then restores.
bool copyAttributes(int fd, const struct stat* existing) {
  if (existing == nullptr) {
    // A new file gets what the user's umask allows, as open() would give it.
    const mode_t mask = umask(0);
    umask(mask);
    return fchmod(fd, 0666 & ~mask) == 0;
  }
  // Anyone but root can at most hand the file to another of their own groups.
  if (fchown(fd, existing->st_uid, existing->st_gid) != 0) {
    if (geteuid() == 0) return false;
    (void)fchown(fd, static_cast<uid_t>(-1), existing->st_gid);
  }
  return fchmod(fd, existing->st_mode & 07777) == 0;
}

void syncDirectoryOf(const std::string& target) {
  const int fd = ::open(directoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  (void)fsync(fd);  // durability only: the rename itself has already succeeded
  ::close(fd);
}

void replaceRegularFile(const std::string& target, const std::string& shownPath,
                        std::string_view content, const std::string& source) {
  struct stat existing {};
  const bool exists = stat(target.c_str(), &existing) == 0;
  // Replacing needs only a writable folder; a file the user could not open for writing
  // must not be replaced either.
  if (exists && faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
    fail(shownPath, errno, source);
  }
  std::string temporary = temporaryNameFor(target);
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) fail(shownPath, errno, source);

  auto abandon = [&](int error) {
    ::close(fd);
    ::unlink(temporary.c_str());
    fail(shownPath, error, source);
  };
  if (!writeAll(fd, content)) abandon(errno);
  if (!copyAttributes(fd, exists ? &existing : nullptr)) abandon(errno);
  if (fsync(fd) != 0 && errno != EINVAL) abandon(errno);
  if (::close(fd) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    fail(shownPath, error, source);
  }
  if (std::rename(temporary.c_str(), target.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    fail(shownPath, error, source);
  }
  syncDirectoryOf(target);
}

}  // namespace

void writeUserFile(const std::string& path, std::string_view content, const std::string& source) {
  if (path.empty()) fail(path, ENOENT, source);
  if (path == "-") {
    writeInPlace(STDOUT_FILENO, kStandardOutput, content, source, false);
    return;
  }
  if (path.back() == '/') fail(path, EISDIR, source);
  const LinkEnd end = followLinks(path);
  if (end.error != 0) fail(path, end.error, source);
  if (end.fd) {
    writeInPlace(*end.fd, path, content, source, false);
    return;
  }
  struct stat info {};
  if (stat(end.path.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) fail(path, EISDIR, source);
    if (!S_ISREG(info.st_mode)) {
      const int fd = ::open(end.path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
      if (fd < 0) fail(path, errno, source);
      writeInPlace(fd, path, content, source, true);
      return;
    }
  }
  replaceRegularFile(end.path, path, content, source);
}

std::optional<RuntimeError> userFileProblem(const std::string& path, const std::string& source) {
  const int error = targetProblem(path);
  if (error == 0) return std::nullopt;
  return fileError(error, "write", path, source);
}

}  // namespace brelvion::base
