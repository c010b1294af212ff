#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace brelvion::testing {

// A throw-away root with the /proc and /dev entries the kernel makes for parallel ports.
class FakeParportTree {
 public:
  FakeParportTree() {
    static int made = 0;
    root_ = std::filesystem::temp_directory_path() /
            ("brelvion-parport-" + std::to_string(::getpid()) + "-" + std::to_string(made++));
    std::filesystem::remove_all(root_);  // left by an earlier run with the same pid
    std::filesystem::create_directories(procDir());
    std::filesystem::create_directories(root_ / "dev");
  }
  ~FakeParportTree() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  // base-addr holds baseAddr as the kernel writes it: "888\t1912\n".
  void addProcEntry(int number, const std::string& baseAddr) {
    const auto dir = procDir() / ("parport" + std::to_string(number));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "base-addr") << baseAddr;
  }
  void addNode(int number) { std::ofstream{node(number)}; }
  void addPort(int number, unsigned base) {
    addProcEntry(number, std::to_string(base) + "\t0\n");
    addNode(number);
  }

  const std::filesystem::path& root() const { return root_; }
  std::filesystem::path procDir() const { return root_ / "proc/sys/dev/parport"; }
  std::string node(int number) const {
    return (root_ / "dev" / ("parport" + std::to_string(number))).string();
  }

 private:
  std::filesystem::path root_;
};

}  // namespace brelvion::testing
