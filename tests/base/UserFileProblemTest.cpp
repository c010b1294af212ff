#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/UserFile.h"

namespace brelvion::base {
namespace {

namespace fs = std::filesystem;

struct ScratchFolder {
  ScratchFolder()
      : path(fs::temp_directory_path() /
             ("brelvion-user-file-problem-" + std::to_string(getpid()))) {
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~ScratchFolder() { fs::remove_all(path); }
  std::string operator/(const std::string& name) const { return (path / name).string(); }
  fs::path path;
};

std::string problemOf(const std::string& path) {
  const auto problem = userFileProblem(path, "--capture");
  return problem ? problem->boxText() : "";
}

// What the writer itself says when it writes there: the check must agree with it.
std::string writeProblemOf(const std::string& path) {
  try {
    writeUserFile(path, "$date\n", "--capture");
    return "";
  } catch (const RuntimeError& error) {
    return error.boxText();
  }
}

TEST(UserFileProblemTest, AgreesWithTheWriterOnEveryKindOfPlace) {
  ScratchFolder folder;
  std::ofstream(folder / "old.vcd") << "earlier";
  std::ofstream(folder / "plain") << "a file, not a folder";
  fs::create_directory(folder / "sub");
  fs::create_symlink("old.vcd", folder / "to-old");
  fs::create_symlink(folder / "sub/new.vcd", folder / "to-new");
  fs::create_symlink(folder / "missing/bus.vcd", folder / "dangling");
  fs::create_symlink("loop-b", folder / "loop-a");
  fs::create_symlink("loop-a", folder / "loop-b");

  const std::vector<std::pair<std::string, std::string>> cases{
      {folder / "new.vcd", ""},
      {folder / "old.vcd", ""},
      {folder / "to-old", ""},
      {folder / "to-new", ""},
      {"/dev/null", ""},
      {folder / "missing/bus.vcd",
       "76: Cannot write " + (folder / "missing/bus.vcd") + ": No such file or directory"},
      {folder / "dangling",
       "76: Cannot write " + (folder / "dangling") + ": No such file or directory"},
      {folder / "plain/bus.vcd",
       "76: Cannot write " + (folder / "plain/bus.vcd") + ": Not a directory"},
      {folder / "sub", "75: Cannot write " + (folder / "sub") + ": Is a directory"},
      {folder / "sub/", "75: Cannot write " + (folder / "sub/") + ": Is a directory"},
      {folder / "new/", "75: Cannot write " + (folder / "new/") + ": Is a directory"},
      {folder / "loop-a",
       "75: Cannot write " + (folder / "loop-a") + ": Too many levels of symbolic links"},
  };
  std::vector<std::string> checked;
  for (const auto& [path, expected] : cases) {
    checked.push_back(problemOf(path));
    EXPECT_EQ(checked.back(), expected) << path;
  }
  // The check writes nothing itself; the writer then does what the check foretold.
  EXPECT_FALSE(fs::exists(folder / "new.vcd"));
  EXPECT_FALSE(fs::exists(folder / "sub/new.vcd"));
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(writeProblemOf(cases[i].first), checked[i]) << cases[i].first;
  }
}

TEST(UserFileProblemTest, StandardOutputAFifoAndOpenDescriptorsAreWrittenInPlace) {
  ScratchFolder folder;
  ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);
  EXPECT_EQ(problemOf("-"), "");
  EXPECT_EQ(problemOf(folder / "fifo"), "");

  const int writing = open("/dev/null", O_WRONLY | O_CLOEXEC);
  const int reading = open("/dev/null", O_RDONLY | O_CLOEXEC);
  ASSERT_GE(writing, 0);
  ASSERT_GE(reading, 0);
  EXPECT_EQ(problemOf("/dev/fd/" + std::to_string(writing)), "");
  EXPECT_EQ(problemOf("/proc/self/fd/" + std::to_string(reading)),
            "75: Cannot write /proc/self/fd/" + std::to_string(reading) + ": Bad file descriptor");
  close(reading);
  close(writing);
  EXPECT_EQ(problemOf("/dev/fd/" + std::to_string(writing)),
            "75: Cannot write /dev/fd/" + std::to_string(writing) + ": Bad file descriptor");
}

// Root may write anywhere the file system allows, so this only shows for other users.
TEST(UserFileProblemTest, AFolderOrFileWithoutWritePermissionIsRefused) {
  if (geteuid() == 0) GTEST_SKIP() << "root is not refused";
  ScratchFolder folder;
  fs::create_directory(folder / "locked");
  std::ofstream(folder / "read-only.vcd") << "kept";
  chmod((folder / "locked").c_str(), 0500);
  chmod((folder / "read-only.vcd").c_str(), 0400);
  for (const std::string& path : {folder / "locked/bus.vcd", folder / "read-only.vcd"}) {
    EXPECT_EQ(problemOf(path), "70: Cannot write " + path + ": Permission denied");
    EXPECT_EQ(writeProblemOf(path), problemOf(path));
  }
  chmod((folder / "locked").c_str(), 0700);
}

}  // namespace
}  // namespace brelvion::base
