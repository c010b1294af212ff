#include <gtest/gtest.h>

#include "support/EngineFixture.h"
#include "trace/DebugLog.h"

namespace brelvion::testing {
namespace {

using trace::padTraceLine;

class DebugLogTest : public ::testing::Test {
 protected:
  void enable(double bound) {
    set.log.setEnabled(true);
    set.debuggerState.traceBufferSize = bound;
  }
  std::string numbered(int i) { return "Wisp MSG00" + std::to_string(i % 10) + ": message"; }
  EngineSet<RecordingPort> set;
};

TEST_F(DebugLogTest, NothingHappensUnlessTheDebuggerIsEnabled) {
  for (std::int16_t value : {0, 2, -1}) {
    set.log.setEnabled(value == 1);
    set.log.logMessage("Wisp MSG001:  Generating START on bus ");
  }
  EXPECT_FALSE(set.trace.exists());
  EXPECT_EQ(set.trace.text(), "");
}

TEST_F(DebugLogTest, LinesArePaddedToFiftyButNeverCut) {
  enable(1000);
  const std::string shortLine(22, 'x');
  const std::string longLine(59, 'y');
  set.log.logMessage(shortLine);
  set.log.logMessage(longLine);
  set.log.logMessage("");
  EXPECT_TRUE(set.trace.exists());
  EXPECT_EQ(set.trace.text(), "\r\n" + shortLine + std::string(28, ' ') + "\r\n" + longLine +
                                  "\r\n" + std::string(50, ' '));
}

TEST_F(DebugLogTest, BoundOfTenKeepsElevenMessagesAndYieldsOnlyOnDrops) {
  enable(10);
  for (int i = 0; i < 10; ++i) set.log.logMessage(numbered(i));
  EXPECT_EQ(set.trace.text().size(), 520u);
  EXPECT_EQ(set.desktop.yields, 0);

  set.log.logMessage(numbered(10));  // 572 characters: the leading empty line goes
  EXPECT_EQ(set.trace.text().size(), 570u);
  EXPECT_EQ(set.trace.text().substr(0, 50), padTraceLine(numbered(0)));
  EXPECT_EQ(set.desktop.yields, 1);

  for (int i = 11; i < 30; ++i) set.log.logMessage(numbered(i));
  EXPECT_EQ(set.trace.text().size(), 570u);
  EXPECT_EQ(set.traceLines().size(), 11u);
  EXPECT_EQ(set.traceLines().back(), padTraceLine(numbered(29)));
  EXPECT_EQ(set.desktop.yields, 20);
}

TEST_F(DebugLogTest, LoweringTheBoundShortensTheTraceOneLinePerMessage) {
  enable(10);
  for (int i = 0; i < 20; ++i) set.log.logMessage(numbered(i));
  set.debuggerState.traceBufferSize = 2;
  set.log.logMessage("a");
  EXPECT_EQ(set.traceLines().size(), 11u);
  set.log.logMessage("b");
  EXPECT_EQ(set.traceLines().size(), 11u);
}

TEST_F(DebugLogTest, AnUnsetBoundKeepsOnlyTheNewestLine) {
  set.log.setEnabled(true);
  set.log.logMessage("first");
  set.log.logMessage("second");
  EXPECT_EQ(set.trace.text(), padTraceLine("second"));
}

TEST_F(DebugLogTest, LongLinesCountForMoreThanOneUnit) {
  enable(10);
  for (int i = 0; i < 20; ++i) set.log.logMessage(std::string(120, 'z'));
  // Each line is 122 characters with its break: four fit within 10 units, a fifth does not.
  EXPECT_EQ(set.traceLines().size(), 5u);
}

TEST_F(DebugLogTest, AFractionalBoundComparesAsANumber) {
  enable(1.5);
  set.log.logMessage("a");  // 52 characters, 1 unit
  set.log.logMessage("b");  // 104 characters, 2 units: drop
  EXPECT_EQ(set.trace.text(), padTraceLine("a") + "\r\n" + padTraceLine("b"));
}

TEST_F(DebugLogTest, StopOnErrorShowsTheBoxAfterTheLineIsInTheTrace) {
  enable(10);
  set.debuggerState.stopOnError = true;
  std::string traceWhenBoxOpened;
  set.desktop.onBox = [&](const desktop::MessageBoxRequest&) {
    traceWhenBoxOpened = set.trace.text();
  };

  set.log.logMessage("WISP MSG:   Giving ACK");
  set.log.logMessage("Wisp err002: lower case");
  EXPECT_TRUE(set.desktop.boxes.empty());

  set.log.logMessage("Wisp ERR002:  No ACK received");
  ASSERT_EQ(set.desktop.boxes.size(), 1u);
  const desktop::MessageBoxRequest& box = set.desktop.boxes[0];
  EXPECT_EQ(box.text, "Error trapped\r\nWisp ERR002:  No ACK received" + std::string(21, ' '));
  EXPECT_EQ(box.title, "Wisp Bus Monitor");
  EXPECT_EQ(box.icon, desktop::MessageIcon::Critical);
  EXPECT_EQ(box.buttons, desktop::MessageButtons::Ok);
  EXPECT_EQ(traceWhenBoxOpened, set.trace.text());

  set.debuggerState.stopOnError = false;
  set.log.logMessage("Wisp ERR001:  Device is not responding ");
  EXPECT_EQ(set.desktop.boxes.size(), 1u);
}

TEST_F(DebugLogTest, ALineLoggedDuringTheYieldIsKept) {
  enable(1);
  set.log.logMessage("one");
  bool inner = false;
  set.desktop.onYield = [&] {
    if (inner) return;
    inner = true;
    set.log.logMessage("from an event");
  };
  set.log.logMessage("two");
  EXPECT_NE(set.trace.text().find("from an event"), std::string::npos);
  EXPECT_EQ(set.traceLines().back(), padTraceLine("from an event"));
}

TEST_F(DebugLogTest, SwitchingTheDebuggerLogsOnlyFromTheEnabledState) {
  set.log.debuggerOn();
  EXPECT_TRUE(set.log.enabled());
  EXPECT_FALSE(set.trace.exists());

  set.debuggerState.traceBufferSize = 10;
  set.log.debuggerOn();
  set.log.debuggerOff();
  EXPECT_FALSE(set.log.enabled());
  set.log.debuggerOff();
  set.log.debuggerOn();
  EXPECT_EQ(set.traceLines(), (std::vector<std::string>{
                                  "", padTraceLine("Wisp Debugger ENABLED "),
                                  "Wisp95 V1.01 : debugger  DISABLED " + std::string(16, ' ')}));
}

TEST_F(DebugLogTest, TheListenerSeesEachAcceptedLinePadded) {
  std::vector<std::string> seen;
  set.log.setLineListener([&](std::string_view line) { seen.emplace_back(line); });
  set.log.logMessage("ignored while disabled");
  enable(10);
  set.log.logMessage("seen");
  EXPECT_EQ(seen, std::vector<std::string>{padTraceLine("seen")});
}

}  // namespace
}  // namespace brelvion::testing
