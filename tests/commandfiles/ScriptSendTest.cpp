#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commandfiles/FileMenu.h"
#include "commandfiles/ScriptSend.h"
#include "support/EngineFixture.h"
#include "support/FakeClock.h"
#include "support/FakeWindowSystem.h"
#include "support/ScratchDirectory.h"

// Send File on a bring-up script, without the window: the camera sensor at 42h.
namespace brelvion::commandfiles {
namespace {

using desktop::MessageIcon;

struct ScriptSendTest : ::testing::Test {
  ScriptSendTest() {
    set.engine.setBusDelay(0.001);
    set.engine.openBus(0, 0);
    set.engine.initPort(10);
    hooks.clock = &clock;
    hooks.progress = [this](long long index, long long total) {
      progress.push_back(std::to_string(index) + "/" + std::to_string(total));
    };
    hooks.updateDeviceMonitor = [this](bool acknowledged) { acks.push_back(acknowledged); };
  }
  ScriptSendOutcome send(const std::string& text, bool keepGoing = false) {
    return sendScriptFile(set.core, scratch.write("bring-up.i2cs", text), hooks, keepGoing,
                          i2c::AfterMessage::Stop);
  }
  int sensorRegister(int reg) {
    std::int16_t device = 0x42;
    set.design.setRegisterPointer(device, static_cast<std::int16_t>(reg));
    set.design.readSequential(device, 0);
    return set.design.ReadBuffer.at(0);
  }
  std::string file() const { return scratch.file("bring-up.i2cs"); }

  testing::ScratchDirectory scratch;
  testing::EngineSet<simulator::SimulatedParallelPort> set;
  testing::FakeClock clock;
  SendHooks hooks;
  std::vector<std::string> progress;
  std::vector<bool> acks;
};

TEST_F(ScriptSendTest, RunsWithProgressTheIndicatorAndItsDelaysOnTheClock) {
  const ScriptSendOutcome outcome =
      send("device 42\nwrite 12 80\ndelay 20\nmodify 12 0F 05\nexpect 12 85\ndevice 30\n"
           "write 00 00\n",
           true);
  EXPECT_EQ(outcome.end, SendEnd::Completed);
  EXPECT_EQ(outcome.commands, 4u);
  EXPECT_EQ(outcome.total, 4u);
  EXPECT_EQ(outcome.unacknowledged, 1u);
  EXPECT_EQ(progress, (std::vector<std::string>{"1/4", "2/4", "3/4", "4/4"}));
  EXPECT_EQ(acks, (std::vector<bool>{true, true, true, false}));
  EXPECT_EQ(clock.sleeps, std::vector<std::chrono::nanoseconds>{std::chrono::milliseconds(20)});
  EXPECT_TRUE(set.desktop.boxes.empty());
  EXPECT_EQ(sensorRegister(0x12), 0x85);
}

TEST_F(ScriptSendTest, AScriptWithProblemsIsShownInOneBoxAndNothingIsSent) {
  const ScriptSendOutcome outcome = send("write 12 80\ndevice 42\nwrte 12 80\nwrite 12 180\n");
  EXPECT_EQ(outcome.end, SendEnd::Failed);
  EXPECT_TRUE(progress.empty());
  ASSERT_EQ(set.desktop.boxes.size(), 1u);
  EXPECT_EQ(set.desktop.boxes[0].title, "Send File - Error");
  EXPECT_EQ(set.desktop.boxes[0].icon, MessageIcon::Information);
  EXPECT_EQ(set.desktop.boxes[0].text,
            "321: " + file() + ":1: write: no device line before the first bus command\n" +
                file() +
                ":3: unknown command 'wrte' (the commands: device, regbits, valbits, write, "
                "delay, modify, poll, expect, read)\n" +
                file() + ":4: write: VALUE 180 is too wide for valbits 8 (at most FF)");
  EXPECT_NE(sensorRegister(0x12), 0x80);
}

TEST_F(ScriptSendTest, AFailedCheckOrAMissingAcknowledgeStopsWithTheLineInABox) {
  send("device 42\nexpect 12 99\nwrite 12 80\n");
  ASSERT_EQ(set.desktop.boxes.size(), 1u);
  EXPECT_EQ(set.desktop.boxes[0].text, "5: " + file() + ":2: expect 12: read C2, expected 99");
  EXPECT_EQ(sensorRegister(0x12), 0xC2);

  const ScriptSendOutcome stopped = send("device 30\nwrite 00 00\ndevice 42\nwrite 12 80\n");
  EXPECT_EQ(stopped.end, SendEnd::Failed);
  EXPECT_EQ(stopped.commands, 1u);
  EXPECT_EQ(set.desktop.boxes.back().text,
            "5: " + file() + ":2: write 00: not acknowledged by device 30");
  EXPECT_EQ(sensorRegister(0x12), 0xC2);
  // Both are errors, titled and drawn as such.
  for (const desktop::MessageBoxRequest& box : set.desktop.boxes) {
    EXPECT_EQ(box.title, "Send File - Error");
    EXPECT_EQ(box.icon, MessageIcon::Critical);
  }
}

TEST_F(ScriptSendTest, AStopRequestEndsItBetweenCommands) {
  hooks.stopRequested = [this] { return progress.size() == 2; };
  const ScriptSendOutcome outcome = send("device 42\nwrite 12 01\nwrite 12 02\nwrite 12 03\n");
  EXPECT_EQ(outcome.end, SendEnd::Stopped);
  EXPECT_EQ(outcome.commands, 2u);
  EXPECT_GE(set.desktop.yields, 2);
  EXPECT_EQ(sensorRegister(0x12), 0x02);
}

TEST_F(ScriptSendTest, AManyProblemsBoxCountsTheRest) {
  std::string text = "device 42\n";
  for (int i = 0; i < 12; ++i) text += "bogus\n";
  send(text);
  const std::string& box = set.desktop.boxes.at(0).text;
  EXPECT_NE(box.find(file() + ":11: unknown command 'bogus'"), std::string::npos);
  EXPECT_EQ(box.find(file() + ":12:"), std::string::npos);
  EXPECT_EQ(box.substr(box.rfind('\n') + 1), "... and 2 more");
}

TEST(OpenDialogTest, OffersScriptsAfterTheDesignsCommandFiles) {
  testing::FakeWindowSystem windows;
  std::string last;
  windows.dialogAnswers.push_back("/x/bring-up.i2cs");
  EXPECT_EQ(chooseCommandFile(windows, last), "/x/bring-up.i2cs");
  ASSERT_EQ(windows.dialogs.size(), 1u);
  EXPECT_EQ(windows.dialogs[0].filter,
            "I2C File (*.i2c)|*.i2c|All I2C files|*.i2c;*.i2cs|I2C Script (*.i2cs)|*.i2cs");
}

TEST_F(ScriptSendTest, StopOnErrorShowsOneBoxAndEndsAScriptThatGoesOn) {
  set.log.setEnabled(true);
  set.debuggerState.stopOnError = true;
  const ScriptSendOutcome outcome = send("device 30\nwrite 00 00\nwrite 01 00\nwrite 02 00\n", true);
  ASSERT_EQ(set.desktop.boxes.size(), 1u);
  EXPECT_EQ(set.desktop.boxes[0].title, "Wisp Bus Monitor");
  EXPECT_EQ(outcome.end, SendEnd::Stopped);
  EXPECT_EQ(outcome.commands, 1u);
  // The next bulk action may box again.
  send("device 30\nwrite 00 00\n", true);
  EXPECT_EQ(set.desktop.boxes.size(), 2u);
}

}  // namespace
}  // namespace brelvion::commandfiles
