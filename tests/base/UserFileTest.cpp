#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "base/RuntimeError.h"
#include "base/UserFile.h"

namespace brelvion::base {
namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

struct stat statOf(const fs::path& path) {
  struct stat info {};
  EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
  return info;
}

// Whether a device node can be opened here (a folder on a "nodev" mount refuses).
bool usable(const fs::path& node) {
  const int fd = ::open(node.c_str(), O_WRONLY);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

// Runs write and returns the error it threw; fails the test when it threw none.
template <typename Write>
RuntimeError errorOf(Write write) {
  try {
    write();
  } catch (const RuntimeError& error) {
    return error;
  }
  ADD_FAILURE() << "no error";
  return RuntimeError(0, "");
}

class UserFileTest : public ::testing::Test {
 protected:
  UserFileTest() {
    static int made = 0;
    dir = fs::temp_directory_path() /
          ("brelvion-userfile-" + std::to_string(::getpid()) + "-" + std::to_string(made++));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  ~UserFileTest() override { fs::remove_all(dir); }

  // Everything in the folder: a failed or finished write must leave no temporary behind.
  std::vector<std::string> names() const {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(dir)) {
      found.push_back(entry.path().filename().string());
    }
    std::sort(found.begin(), found.end());
    return found;
  }
  void write(const fs::path& path, std::string_view content) {
    writeUserFile(path.string(), content, "Test");
  }

  fs::path dir;
};

TEST_F(UserFileTest, ANewFileGetsTheContentAndTheModeTheUmaskAllows) {
  const mode_t previous = ::umask(027);
  write(dir / "new.txt", "content");
  ::umask(previous);
  EXPECT_EQ(readAll(dir / "new.txt"), "content");
  EXPECT_EQ(statOf(dir / "new.txt").st_mode & 07777, 0640u);
  EXPECT_EQ(names(), std::vector<std::string>{"new.txt"});
}

TEST_F(UserFileTest, AnExistingFileIsReplacedWholeAndKeepsItsModeAndOwner) {
  const fs::path path = dir / "kept.vcd";
  std::ofstream(path) << "a much longer earlier content than the new one";
  ::chmod(path.c_str(), 0604);
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(path.c_str(), 4321, 8765), 0);
  }
  const ino_t before = statOf(path).st_ino;

  write(path, "new");

  EXPECT_EQ(readAll(path), "new");
  const struct stat after = statOf(path);
  EXPECT_NE(after.st_ino, before);  // replaced by a rename, never truncated in place
  EXPECT_EQ(after.st_mode & 07777, 0604u);
  if (root) {
    EXPECT_EQ(after.st_uid, 4321u);
    EXPECT_EQ(after.st_gid, 8765u);
  }
  EXPECT_EQ(names(), std::vector<std::string>{"kept.vcd"});
}

TEST_F(UserFileTest, FilesNamedLikeTheTemporaryOfAnotherToolAreLeftAlone) {
  std::ofstream(dir / "bus.vcd.partial") << "the user's own";
  std::ofstream(dir / "bus.vcd.tmp") << "also the user's";
  write(dir / "bus.vcd", "capture");
  EXPECT_EQ(readAll(dir / "bus.vcd.partial"), "the user's own");
  EXPECT_EQ(readAll(dir / "bus.vcd.tmp"), "also the user's");
  EXPECT_EQ(names(), (std::vector<std::string>{"bus.vcd", "bus.vcd.partial", "bus.vcd.tmp"}));
}

TEST_F(UserFileTest, SymbolicLinksAreFollowedAndTheirTargetReplaced) {
  fs::create_directories(dir / "real");
  std::ofstream(dir / "real" / "target.txt") << "old";
  fs::create_symlink("real/target.txt", dir / "relative");
  fs::create_symlink(dir / "relative", dir / "chain");
  fs::create_symlink("real/created.txt", dir / "dangling");

  write(dir / "chain", "through two links");
  write(dir / "dangling", "made at the link's target");

  EXPECT_TRUE(fs::is_symlink(dir / "relative"));
  EXPECT_TRUE(fs::is_symlink(dir / "chain"));
  EXPECT_TRUE(fs::is_symlink(dir / "dangling"));
  EXPECT_EQ(readAll(dir / "real" / "target.txt"), "through two links");
  EXPECT_EQ(readAll(dir / "real" / "created.txt"), "made at the link's target");

  fs::create_symlink("loop-b", dir / "loop-a");
  fs::create_symlink("loop-a", dir / "loop-b");
  const RuntimeError loop = errorOf([&] { write(dir / "loop-a", "x"); });
  EXPECT_NE(loop.description().find("Too many levels of symbolic links"), std::string::npos);
}

TEST_F(UserFileTest, AFifoIsWrittenInPlaceAndStaysAFifo) {
  const fs::path fifo = dir / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] { received = readAll(fifo); });
  write(fifo, "through the fifo");
  reader.join();
  EXPECT_EQ(received, "through the fifo");
  EXPECT_TRUE(S_ISFIFO(statOf(fifo).st_mode));
  EXPECT_EQ(names(), std::vector<std::string>{"pipe"});
}

TEST_F(UserFileTest, AReaderThatGoesAwayIsAnErrorNotTheEndOfTheProgram) {
  const fs::path fifo = dir / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::thread reader([&] { ::close(::open(fifo.c_str(), O_RDONLY)); });
  // More than a pipe holds, so that the write outlasts the reader.
  const std::string content(4 << 20, 'x');
  const RuntimeError error = errorOf([&] { write(fifo, content); });
  reader.join();
  EXPECT_NE(error.description().find("Cannot write " + fifo.string() + ": Broken pipe"),
            std::string::npos)
      << error.description();
  sigset_t pending;
  sigpending(&pending);
  EXPECT_EQ(sigismember(&pending, SIGPIPE), 0);
}

TEST_F(UserFileTest, DevicesAreWrittenInPlaceAndAFullOneSaysSo) {
  write("/dev/null", "gone");
  EXPECT_TRUE(S_ISCHR(statOf("/dev/null").st_mode));

  const RuntimeError full = errorOf([&] { write("/dev/full", "no room"); });
  EXPECT_EQ(full.number(), RuntimeError::kDiskFull);
  EXPECT_EQ(full.description(), "Cannot write /dev/full: No space left on device");
  EXPECT_TRUE(S_ISCHR(statOf("/dev/full").st_mode));

  // A device node of the user's own (root only), and a link to one.
  if (::mknod((dir / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 && usable(dir / "null")) {
    fs::create_symlink(dir / "null", dir / "to-null");
    write(dir / "to-null", "gone too");
    EXPECT_TRUE(S_ISCHR(statOf(dir / "null").st_mode));
    EXPECT_TRUE(fs::is_symlink(dir / "to-null"));
  }
}

// Standard output stands for the descriptor as it is: what was written before stays.
TEST_F(UserFileTest, StandardOutputNamesWriteToTheOpenDescriptor) {
  const fs::path redirected = dir / "stdout.txt";
  std::fflush(stdout);
  const int saved = ::dup(STDOUT_FILENO);
  const int file = ::open(redirected.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(file, 0);
  ::dup2(file, STDOUT_FILENO);
  ::close(file);
  const ino_t inode = statOf(redirected).st_ino;
  EXPECT_EQ(::write(STDOUT_FILENO, "before|", 7), 7);
  for (const char* name : {"-", "/dev/stdout", "/dev/fd/1", "/proc/self/fd/1"}) {
    write(name, std::string(name) + "|");
  }
  ::dup2(saved, STDOUT_FILENO);
  ::close(saved);

  EXPECT_EQ(readAll(redirected), "before|-|/dev/stdout|/dev/fd/1|/proc/self/fd/1|");
  EXPECT_EQ(statOf(redirected).st_ino, inode);
}

TEST_F(UserFileTest, ErrorsNameTheFileAndTheRealCause) {
  struct Case {
    fs::path path;
    int number;
    std::string cause;
  };
  const std::vector<Case> cases{
      {dir / "missing" / "file.txt", RuntimeError::kPathNotFound, "No such file or directory"},
      {dir, RuntimeError::kPathFileAccess, "Is a directory"},
      {dir.string() + "/new/", RuntimeError::kPathFileAccess, "Is a directory"},
      {"", RuntimeError::kPathNotFound, "No such file or directory"},
  };
  for (const Case& c : cases) {
    const RuntimeError error = errorOf([&] { write(c.path, "x"); });
    EXPECT_EQ(error.number(), c.number) << c.path;
    EXPECT_EQ(error.description(), "Cannot write " + c.path.string() + ": " + c.cause);
    EXPECT_EQ(error.source(), "Test");
  }
  EXPECT_TRUE(names().empty());
}

// The content does not fit (a file size limit stands in for a full disk): the old file
// stays as it was and no temporary is left.
TEST_F(UserFileTest, AWriteThatFailsLeavesTheOldFileAndNoTemporary) {
  const fs::path path = dir / "kept.txt";
  std::ofstream(path) << "old";
  const auto previousHandler = ::signal(SIGXFSZ, SIG_IGN);
  rlimit previous{};
  ::getrlimit(RLIMIT_FSIZE, &previous);
  rlimit small = previous;
  small.rlim_cur = 1000;
  ::setrlimit(RLIMIT_FSIZE, &small);
  const RuntimeError error = errorOf([&] { write(path, std::string(5000, 'x')); });
  ::setrlimit(RLIMIT_FSIZE, &previous);
  ::signal(SIGXFSZ, previousHandler);

  EXPECT_EQ(error.number(), RuntimeError::kDiskFull);
  EXPECT_NE(error.description().find("File too large"), std::string::npos);
  EXPECT_EQ(readAll(path), "old");
  EXPECT_EQ(names(), std::vector<std::string>{"kept.txt"});
}

TEST_F(UserFileTest, ANameTooLongForATemporarySuffixStillGetsWritten) {
  const std::string name(250, 'n');
  write(dir / name, "long");
  EXPECT_EQ(readAll(dir / name), "long");
  EXPECT_EQ(names(), std::vector<std::string>{name});
}

// As an ordinary user; root, who may write anything, acts as nobody for this.
TEST_F(UserFileTest, WhatTheUserMayNotWriteIsRefusedAndLeftAsItWas) {
  fs::create_directories(dir / "open");
  fs::create_directories(dir / "closed");
  std::ofstream(dir / "open" / "readonly.txt") << "protected";
  ::chmod((dir / "open" / "readonly.txt").c_str(), 0444);
  ::chmod((dir / "open").c_str(), 0777);
  ::chmod((dir / "closed").c_str(), 0555);
  ::chmod(dir.c_str(), 0755);
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::seteuid(65534), 0);
  }
  const RuntimeError readOnly = errorOf([&] { write(dir / "open" / "readonly.txt", "x"); });
  const RuntimeError closed = errorOf([&] { write(dir / "closed" / "new.txt", "x"); });
  if (root) {
    ASSERT_EQ(::seteuid(0), 0);
  }

  EXPECT_EQ(readOnly.number(), RuntimeError::kPermissionDenied);
  EXPECT_NE(readOnly.description().find("Permission denied"), std::string::npos);
  EXPECT_EQ(readAll(dir / "open" / "readonly.txt"), "protected");
  EXPECT_EQ(closed.number(), RuntimeError::kPermissionDenied);
  EXPECT_TRUE(fs::is_empty(dir / "closed"));
  EXPECT_EQ(fs::directory_iterator(dir / "open")->path().filename(), "readonly.txt");
}

}  // namespace
}  // namespace brelvion::base
