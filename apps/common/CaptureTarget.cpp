#include "CaptureTarget.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <string_view>
#include <vector>

#include "base/FileError.h"

namespace brelvion::apps {

namespace {

constexpr int kMaxLinkDepth = 40;
constexpr const char* kSource = "--capture";

std::string directoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The descriptor a name stands for when it names one of the program's own open files,
// which writeUserFile writes to as it stands.
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

int descriptorProblem(int fd) {
  const int flags = fcntl(fd, F_GETFL);
  if (flags < 0) return errno;
  return (flags & O_ACCMODE) == O_RDONLY ? EBADF : 0;
}

// Where a chain of symbolic links ends, as writeUserFile follows it; an errno when the
// chain cannot be followed.
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
    std::vector<char> target(static_cast<std::size_t>(info.st_size) + 1);
    const ssize_t length = readlink(current.c_str(), target.data(), target.size());
    if (length <= 0) return {current, {}, length < 0 ? errno : EINVAL};
    const std::string next(target.data(), static_cast<std::size_t>(length));
    current = next.front() == '/' ? next : directoryOf(current) + "/" + next;
  }
  return {current, {}, ELOOP};
}

bool writable(const std::string& path) {
  return faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// The reason a new file could not be made in the folder of path, or 0.
int folderProblem(const std::string& path) {
  const std::string folder = directoryOf(path);
  struct stat info {};
  if (stat(folder.c_str(), &info) != 0) return errno;
  if (!S_ISDIR(info.st_mode)) return ENOTDIR;
  return faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0 ? 0 : errno;
}

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
  if (!writable(end.path)) return errno;
  return S_ISREG(info.st_mode) ? folderProblem(end.path) : 0;
}

}  // namespace

std::optional<base::RuntimeError> captureTargetProblem(const std::string& path) {
  const int error = targetProblem(path);
  if (error == 0) return std::nullopt;
  return base::fileError(error, "write", path, kSource);
}

}  // namespace brelvion::apps
