#include <gtest/gtest.h>

#include "DisplayCheck.h"

namespace brelvion::apps::gui {
namespace {

bool missing(const std::vector<std::string>& args, const DisplayEnvironment& environment = {}) {
  const ParsedGuiArguments parsed = parseGuiArguments(args);
  return displayMissing(std::get<GuiRequest>(parsed), environment);
}

TEST(DisplayCheckTest, WithoutAnyWindowSystemNamedThereIsNoDisplay) {
  EXPECT_TRUE(missing({}));
  EXPECT_TRUE(missing({"--backend", "sim", "-style", "Fusion"}));
  // An empty value names nothing, as an empty QT_QPA_PLATFORM does not for Qt.
  EXPECT_TRUE(missing({"-platform", ""}));
  // "-platform" here is a window title.
  EXPECT_TRUE(missing({"-qwindowtitle", "-platform", "-style", "offscreen"}));
  EXPECT_TRUE(missing({"--capture", "-platform"}));
}

TEST(DisplayCheckTest, ADisplayOrAPlatformChosenAnywhereIsLeftToQt) {
  EXPECT_FALSE(missing({}, {"", ":0", ""}));
  EXPECT_FALSE(missing({}, {"", "", "wayland-0"}));
  EXPECT_FALSE(missing({}, {"offscreen", "", ""}));
  // Chosen, though it will not work without a display: Qt's own message says so then.
  EXPECT_FALSE(missing({}, {"xcb", "", ""}));
  EXPECT_FALSE(missing({"-platform", "offscreen"}));
  EXPECT_FALSE(missing({"--platform", "wayland"}));
  EXPECT_FALSE(missing({"-display", ":1"}));
}

TEST(DisplayCheckTest, TheMessageIsOneLineWithTheWaysOut) {
  const std::string text = noDisplayText();
  EXPECT_EQ(text.find('\n'), std::string::npos);
  for (const char* named :
       {"DISPLAY", "WAYLAND_DISPLAY", "-platform offscreen", "brelvion-i2c-cli"}) {
    EXPECT_NE(text.find(named), std::string::npos) << named;
  }
}

}  // namespace
}  // namespace brelvion::apps::gui
