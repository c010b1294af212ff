#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "SessionCapture.h"
#include "base/UserFile.h"
#include "support/FakeWindowSystem.h"

namespace brelvion::apps::gui {
namespace {

namespace fs = std::filesystem;

capture::BusCapture aFewChanges() {
  capture::BusCapture capture;
  capture.record(0, true, true);
  capture.record(5000, true, false);
  capture.record(10000, false, false);
  return capture;
}

TEST(SessionCaptureTest, AWrittenCaptureShowsNothing) {
  const fs::path path =
      fs::temp_directory_path() / ("brelvion-session-" + std::to_string(getpid()) + ".vcd");
  testing::FakeWindowSystem windows;
  std::ostringstream err;
  EXPECT_TRUE(writeSessionCapture(aFewChanges(), path.string(), windows, err));
  EXPECT_TRUE(windows.boxes.empty());
  EXPECT_EQ(err.str(), "");
  std::ifstream file(path);
  std::stringstream content;
  content << file.rdbuf();
  EXPECT_NE(content.str().find("$var wire 1 ! scl $end"), std::string::npos);
  fs::remove(path);
}

// The user of the windows sees why the session's capture was lost, in the program's own
// numbered error box, and a script sees it on standard error.
TEST(SessionCaptureTest, ACaptureThatCannotBeWrittenAtTheEndIsShownInACriticalBox) {
  const fs::path folder =
      fs::temp_directory_path() / ("brelvion-session-gone-" + std::to_string(getpid()));
  fs::create_directories(folder);
  const std::string path = (folder / "bus.vcd").string();
  // Fine when the session started, gone when it ends.
  ASSERT_FALSE(base::userFileProblem(path, "--capture"));
  fs::remove(folder);

  const std::vector<std::pair<std::string, std::string>> cases{
      {"/dev/full", "61: Cannot write /dev/full: No space left on device"},
      {path, "76: Cannot write " + path + ": No such file or directory"},
  };
  for (const auto& [target, text] : cases) {
    testing::FakeWindowSystem windows;
    std::ostringstream err;
    EXPECT_FALSE(writeSessionCapture(aFewChanges(), target, windows, err));
    ASSERT_EQ(windows.boxes.size(), 1u) << target;
    EXPECT_EQ(windows.boxes[0].text, text);
    EXPECT_EQ(windows.boxes[0].title, "Capture - Error");
    EXPECT_EQ(windows.boxes[0].icon, desktop::MessageIcon::Critical);
    EXPECT_EQ(windows.boxes[0].buttons, desktop::MessageButtons::Ok);
    EXPECT_EQ(err.str(), "brelvion-i2c: capture not written: " + text.substr(4) + "\n");
  }
  EXPECT_FALSE(fs::exists(folder));
}

}  // namespace
}  // namespace brelvion::apps::gui
