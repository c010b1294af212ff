// Start-up time of the windowed program, from exec to the first paint of its main window.
//
//   brelvion-gui-start-bench PROGRAM [RUNS]
//
// Starts PROGRAM (on the simulated bus) RUNS times with BRELVION_EXIT_AFTER_FIRST_PAINT=1,
// which makes it print a line once its main window has been painted and end; the time
// from just before the exec to that line is one figure. Needs a display (Xvfb will do).
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kGoalMs = 300.0;

struct Run {
  double msToPaint = 0;
  std::string printed;  // what the program said about its own start
};

std::vector<char*> environmentWithHook(std::vector<std::string>& storage) {
  storage.clear();
  for (char** entry = environ; *entry != nullptr; ++entry) {
    if (std::strncmp(*entry, "BRELVION_EXIT_AFTER_FIRST_PAINT=", 32) != 0)
      storage.emplace_back(*entry);
  }
  storage.emplace_back("BRELVION_EXIT_AFTER_FIRST_PAINT=1");
  std::vector<char*> pointers;
  for (std::string& entry : storage) pointers.push_back(entry.data());
  pointers.push_back(nullptr);
  return pointers;
}

// One start; nothing when the program could not be started or ended without painting.
std::optional<Run> startOnce(const std::string& program) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  std::vector<std::string> storage;
  std::vector<char*> environment = environmentWithHook(storage);
  std::string backendOption = "--backend=sim";
  std::vector<char*> argv{const_cast<char*>(program.c_str()), backendOption.data(), nullptr};

  pid_t child = 0;
  const auto start = Clock::now();
  const int spawned =
      posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environment.data());
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  if (spawned != 0) {
    close(pipeEnds[0]);
    std::fprintf(stderr, "cannot start %s: %s\n", program.c_str(), std::strerror(spawned));
    return std::nullopt;
  }

  std::string output;
  std::optional<Run> run;
  char buffer[256];
  while (true) {
    const ssize_t got = read(pipeEnds[0], buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    output.append(buffer, static_cast<std::size_t>(got));
    if (!run && output.find('\n') != std::string::npos) {
      run = Run{std::chrono::duration<double, std::milli>(Clock::now() - start).count(),
                output.substr(0, output.find('\n'))};
    }
  }
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!run) std::fprintf(stderr, "%s ended without reporting a paint\n", program.c_str());
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s PROGRAM [RUNS]\n", argv[0]);
    return 2;
  }
  const std::string program = argv[1];
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
  std::vector<double> times;
  std::string lastPrinted;
  // The first start warms the disk cache and the font cache; it is not counted.
  if (!startOnce(program)) return 1;
  for (int i = 0; i < runs; ++i) {
    const auto run = startOnce(program);
    if (!run) return 1;
    times.push_back(run->msToPaint);
    lastPrinted = run->printed;
  }
  std::sort(times.begin(), times.end());
  const double median = times[times.size() / 2];
  std::printf("%-52s %10.1f %-4s %-22s %s\n", "start to first paint of the main window, median",
              median, "ms", "< 300", median < kGoalMs ? "met" : "MISSED");
  std::printf("%-52s %10.1f %-4s\n", "  fastest", times.front(), "ms");
  std::printf("%-52s %10.1f %-4s\n", "  slowest", times.back(), "ms");
  std::printf("  (%d starts after one warm-up; the program's own words on the last: %s)\n", runs,
              lastPrinted.c_str());
  return 0;
}
