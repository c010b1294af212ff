#include "platform/UserFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/RuntimeError.h"

namespace brelvion::platform {

namespace {

constexpr int kMaxLinkDepth = 40;

int errorNumberFor(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return RuntimeError::kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
      return RuntimeError::kPermissionDenied;
    case ENOSPC:
    case EDQUOT:
      return RuntimeError::kDiskFull;
    default:
      return RuntimeError::kPathFileAccess;
  }
}

[[noreturn]] void fail(const std::string& path, int error, const std::string& source) {
  throw RuntimeError(errorNumberFor(error), source,
                     "Cannot write " + path + ": " + std::strerror(error));
}

std::string directoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a chain of symbolic links ends at; the path itself when it is no link.
std::string followLinks(const std::string& path, const std::string& shownPath,
                        const std::string& source) {
  std::string current = path;
  for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
    struct stat info {};
    if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
    std::vector<char> target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1);
    const ssize_t length = readlink(current.c_str(), target.data(), target.size());
    if (length < 0) fail(shownPath, errno, source);
    const std::string next(target.data(), static_cast<std::size_t>(length));
    current = next.front() == '/' ? next : directoryOf(current) + "/" + next;
  }
  fail(shownPath, ELOOP, source);
}

// Writes all of content to fd; false with errno set when something was not written.
bool writeAll(int fd, std::string_view content) {
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

void replaceRegularFile(const std::string& target, const std::string& shownPath,
                        std::string_view content, const std::string& source) {
  struct stat existing {};
  const bool exists = stat(target.c_str(), &existing) == 0;
  std::string temporary = target + ".XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) fail(shownPath, errno, source);

  auto abandon = [&](int error) {
    ::close(fd);
    ::unlink(temporary.c_str());
    fail(shownPath, error, source);
  };
  if (!writeAll(fd, content)) abandon(errno);
  if (exists) {
    if (fchmod(fd, existing.st_mode & 07777) != 0) abandon(errno);
    // Only root can give a file away; anyone else keeps the file as their own.
    if (geteuid() == 0 && fchown(fd, existing.st_uid, existing.st_gid) != 0) abandon(errno);
  } else {
    // mkstemp creates 0600; a new file gets what the user's umask allows, as open() would.
    const mode_t mask = umask(0);
    umask(mask);
    if (fchmod(fd, 0666 & ~mask) != 0) abandon(errno);
  }
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
}

}  // namespace

void writeUserFile(const std::string& path, std::string_view content, const std::string& source) {
  if (path.empty()) fail(path, ENOENT, source);
  if (path == "-") {
    writeInPlace(STDOUT_FILENO, "standard output", content, source, false);
    return;
  }
  const std::string target = followLinks(path, path, source);
  struct stat info {};
  if (stat(target.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) fail(path, EISDIR, source);
    if (!S_ISREG(info.st_mode)) {
      const int fd = ::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
      if (fd < 0) fail(path, errno, source);
      writeInPlace(fd, path, content, source, true);
      return;
    }
  }
  replaceRegularFile(target, path, content, source);
}

}  // namespace brelvion::platform
