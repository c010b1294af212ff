#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <limits>

#include "SendFixture.h"
#include "support/ConfiguredSimulation.h"

namespace brelvion::commandfiles {
namespace {

using namespace std::chrono_literals;
using testing::SendFixture;
using testing::Write;

struct HeldClock {
  void operator()(simulator::SimulatedBusConfig& config) const {
    config.clockStretchNs = 30'000'000;
  }
};

std::size_t openDescriptors() {
  return static_cast<std::size_t>(std::distance(
      std::filesystem::directory_iterator("/proc/self/fd"), std::filesystem::directory_iterator()));
}

TEST(SenderTest, EachWriteIsFollowedByItsPausesThenOneYield) {
  SendFixture fixture;
  std::vector<std::string> events;
  fixture.options.commandDelay = 0.25;
  fixture.options.beepOn = true;
  fixture.hooks.progress = [&](long long i, long long n) {
    events.push_back("write " + std::to_string(i) + " of " + std::to_string(n));
  };
  auto monitor = fixture.hooks.updateDeviceMonitor;
  fixture.hooks.updateDeviceMonitor = [&](bool acknowledged) {
    monitor(acknowledged);
    events.push_back("monitor");
  };
  fixture.clock.onSleep = [&] { events.push_back("sleep"); };
  fixture.set.desktop.onYield = [&] { events.push_back("yield"); };

  const SendOutcome outcome = fixture.send("42 12 80\r\n42 13 81");
  EXPECT_EQ(outcome.end, SendEnd::Completed);
  EXPECT_EQ(outcome.writes, 2);
  EXPECT_EQ(outcome.unacknowledged, 0);
  EXPECT_EQ(events, (std::vector<std::string>{"write 1 of 2", "monitor", "sleep", "sleep", "yield",
                                              "write 2 of 2", "monitor", "sleep", "sleep", "yield",
                                              "yield"}))
      << "the copy's last line end makes one more pass, with no write";
  EXPECT_GE(fixture.clock.time, 700ms);
  EXPECT_LT(fixture.clock.time, 701ms);
  EXPECT_EQ(fixture.set.desktop.beeps, 2);
  EXPECT_TRUE(fixture.set.desktop.boxes.empty());
}

TEST(SenderTest, WithNoExtraDelayWritesAreStillATenthOfASecondApart) {
  SendFixture fixture;
  std::vector<std::chrono::nanoseconds> writeTimes;
  fixture.hooks.progress = [&](long long, long long) { writeTimes.push_back(fixture.clock.time); };
  fixture.send("42 12 80 42 13 81 42 14 82");
  ASSERT_EQ(writeTimes.size(), 3u);
  EXPECT_GE(writeTimes[1] - writeTimes[0], 100ms);
  EXPECT_GE(writeTimes[2] - writeTimes[1], 100ms);
  EXPECT_EQ(fixture.set.desktop.beeps, 0);
}

TEST(SenderTest, AStopRequestedDuringTheYieldEndsTheSendAfterTheCurrentWrite) {
  SendFixture fixture;
  bool escape = false;
  fixture.set.desktop.onYield = [&] { escape = true; };
  fixture.hooks.stopRequested = [&] { return escape; };
  const SendOutcome outcome = fixture.send("42 12 80\r\n42 13 81\r\n");
  EXPECT_EQ(outcome.end, SendEnd::Stopped);
  EXPECT_EQ(fixture.writes, (std::vector<Write>{{0x42, 0x12, 0x80}}));
}

TEST(SenderTest, AMissingAcknowledgeIsCountedAndTheSendGoesOn) {
  SendFixture fixture;
  const SendOutcome outcome = fixture.send("60 12 80\r\n42 13 81\r\n");
  EXPECT_EQ(outcome.writes, 2);
  EXPECT_EQ(outcome.unacknowledged, 1);
  EXPECT_EQ(outcome.end, SendEnd::Completed);
}

// A slave that holds SCL beyond the stretch timeout ends a command file's send with its
// error, as it ends every register command of the tool, rather than counting as a refusal.
TEST(SenderTest, AClockHeldBeyondTheTimeoutEndsTheSendWithItsBox) {
  testing::EngineSet<testing::ConfiguredLines<HeldClock>> set;
  set.engine.setBusDelay(0.001);
  set.engine.openBus(0, 0);
  set.engine.initPort(10);
  testing::FakeClock clock;
  SendHooks hooks;
  hooks.clock = &clock;
  int reported = 0;
  hooks.reported = [&](const scripts::CommandReport&) { ++reported; };
  const SendOutcome outcome = sendCommandText(set.core, "42 10 5A\r\n42 11 5B\r\n", "held.i2c",
                                              {}, hooks);
  EXPECT_EQ(outcome.end, SendEnd::Failed);
  EXPECT_EQ(reported, 0);
  ASSERT_EQ(set.desktop.boxes.size(), 1u);
  EXPECT_EQ(set.desktop.boxes[0].text.rfind("24: SCL stayed low", 0), 0u)
      << set.desktop.boxes[0].text;
}

TEST(SenderTest, AFailedSendClosesItsFileSoTheNextOneWorks) {
  SendFixture fixture;
  const std::size_t before = openDescriptors();
  // A directory opens but cannot be read: the error comes with the file already open.
  const SendOutcome failed =
      sendCommandFile(fixture.set.core, fixture.scratch.path().string(), {}, fixture.hooks);
  EXPECT_EQ(failed.end, SendEnd::Failed);
  EXPECT_EQ(openDescriptors(), before);
  ASSERT_EQ(fixture.set.desktop.boxes.size(), 1u);
  const desktop::MessageBoxRequest& box = fixture.set.desktop.boxes[0];
  EXPECT_EQ(box.title, "") << "the program's default title";
  EXPECT_EQ(box.icon, desktop::MessageIcon::Information);
  EXPECT_EQ(box.text.rfind("75: Cannot read " + fixture.scratch.path().string(), 0), 0u)
      << box.text;

  const SendOutcome missing = sendCommandFile(fixture.set.core, fixture.scratch.file("gone"));
  EXPECT_EQ(missing.failure->error.number(), base::RuntimeError::kFileNotFound);
  EXPECT_EQ(openDescriptors(), before);

  const SendOutcome next = fixture.send("42 12 80");
  EXPECT_EQ(next.end, SendEnd::Completed);
  EXPECT_EQ(next.writes, 1);
}

TEST(SenderTest, SendFileWithNothingChosenAsksForOpen) {
  SendFixture fixture;
  EXPECT_EQ(sendFile(fixture.set.core, "", {}, fixture.hooks), SendFileAction::OpenInstead);
  EXPECT_TRUE(fixture.writes.empty());
  EXPECT_TRUE(fixture.set.desktop.boxes.empty());
}

TEST(SenderTest, SendFileAfterEditingRebuildsTheCopyFromTheChosenFile) {
  SendFixture fixture;
  testing::WorkingDirectory here(fixture.scratch.path());
  const std::string chosen = fixture.scratch.write("chosen.i2c", "42 12 80\r\n");
  prepareCommandFile(fixture.set.core, chosen);
  fixture.set.core.values().fileEdited = true;
  fixture.scratch.write("chosen.i2c", "42 12 80 ; edited\r\n42 13 81\r\n");
  SendOutcome outcome;
  EXPECT_EQ(sendFile(fixture.set.core, chosen, {}, fixture.hooks, &outcome), SendFileAction::Sent);
  EXPECT_EQ(outcome.writes, 2);
  EXPECT_EQ(fixture.set.core.values().sendFileName, "tmpI2C.txt");
}

TEST(SenderTest, AScriptUnderAnotherNameIsRefusedBeforeAnyWrite) {
  const struct {
    const char* source;
    const char* refusal;  // nullptr: sent as a command file
  } cases[] = {
      {"; bring-up\n\n  device 20\nwrite 10 01\n", "(line 3 starts with 'device')"},
      {"\xEF\xBB\xBF"
       "\tWRITE 10 01\n",
       "(line 1 starts with 'WRITE')"},
      {"42 12 80 ; device 20\ndelay 10\n", nullptr},
  };
  for (const auto& test : cases) {
    SendFixture fixture;
    const SendOutcome outcome = fixture.send(test.source);
    if (test.refusal == nullptr) {
      EXPECT_FALSE(fixture.writes.empty()) << test.source;
      EXPECT_TRUE(fixture.set.desktop.boxes.empty()) << test.source;
      continue;
    }
    EXPECT_TRUE(fixture.writes.empty()) << test.source;
    EXPECT_EQ(outcome.writes, 0);
    ASSERT_EQ(fixture.set.desktop.boxes.size(), 1u) << test.source;
    EXPECT_EQ(fixture.set.desktop.boxes[0].text, "321: " + fixture.scratch.file("commands.i2c") +
                                                     " is a bring-up script, not a command file " +
                                                     test.refusal +
                                                     ": send it under a name ending in .i2cs");
  }
}

TEST(SenderTest, SendFileOfAScriptUnderAnotherNameSendsNothingAndSaysWhy) {
  for (const bool edited : {false, true}) {
    SendFixture fixture;
    testing::WorkingDirectory here(fixture.scratch.path());
    const std::string script = "device 20\nwrite 10 01\n";
    // Opened as a script, or as a command file that the editor then made a script.
    const std::string chosen =
        fixture.scratch.write("chosen.txt", edited ? "42 12 80\r\n" : script);
    prepareCommandFile(fixture.set.core, chosen);
    fixture.set.core.values().fileEdited = edited;
    fixture.scratch.write("chosen.txt", script);
    SendOutcome outcome;
    EXPECT_EQ(sendFile(fixture.set.core, chosen, {}, fixture.hooks, &outcome), SendFileAction::Sent);
    EXPECT_EQ(outcome.end, edited ? SendEnd::Completed : SendEnd::Failed);
    EXPECT_EQ(outcome.writes, 0);
    EXPECT_TRUE(fixture.writes.empty());
    // Open's refusal, then Send File's; after editing, the copy made at Send File refuses.
    ASSERT_EQ(fixture.set.desktop.boxes.size(), edited ? 1u : 2u);
    EXPECT_EQ(fixture.set.desktop.boxes.back().title,
              edited ? "Create tmpFile - Error" : "Send File - Error");
    EXPECT_NE(fixture.set.desktop.boxes.back().text.find(chosen + " is a bring-up script"),
              std::string::npos);
  }
}

TEST(DelayTimeTest, WaitsOnTheClockWithoutYielding) {
  testing::FakeDesktop desktop;
  testing::FakeClock clock;
  clock.time = 86399s + 950ms;  // moments before midnight: no wrap on a monotonic clock
  delayTime(desktop, 0.1, clock);
  EXPECT_GE(clock.time, 86400s + 50ms);
  EXPECT_LT(clock.time, 86400s + 51ms);
  EXPECT_EQ(desktop.yields, 0);
  EXPECT_TRUE(desktop.boxes.empty());
}

TEST(DelayTimeTest, ASleepThatWakesEarlyIsMadeUp) {
  testing::FakeDesktop desktop;
  testing::FakeClock clock;
  clock.sleepScale = 0.5;
  delayTime(desktop, 2.0, clock);
  EXPECT_GE(clock.time, 1999ms);
  EXPECT_GT(clock.sleeps.size(), 1u);
}

TEST(DelayTimeTest, NothingToWaitForAndNotANumber) {
  testing::FakeDesktop desktop;
  testing::FakeClock clock;
  delayTime(desktop, 0, clock);
  delayTime(desktop, -5, clock);
  EXPECT_TRUE(clock.sleeps.empty());
  EXPECT_TRUE(desktop.boxes.empty());

  delayTime(desktop, std::numeric_limits<double>::quiet_NaN(), clock);
  delayTime(desktop, std::numeric_limits<double>::infinity(), clock);
  EXPECT_TRUE(clock.sleeps.empty());
  ASSERT_EQ(desktop.boxes.size(), 2u);
  EXPECT_EQ(desktop.boxes[0].title, "ERROR");
  EXPECT_EQ(desktop.boxes[0].text, "Error, when delay the time.");
  EXPECT_EQ(desktop.boxes[0].icon, desktop::MessageIcon::Exclamation);
}

}  // namespace
}  // namespace brelvion::commandfiles
