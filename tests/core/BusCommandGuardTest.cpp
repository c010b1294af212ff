#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/BusCommandGuard.h"
#include "support/FakeDesktop.h"
#include "support/RecordingPort.h"

namespace brelvion::core {
namespace {

TEST(BusCommandGuardTest, ABusCommandStartedInsideAnotherIsRefused) {
  testing::RecordingPort port;
  testing::FakeDesktop desktop;
  core::ToolCore core(port, desktop);
  int inner = 0;
  bool innerRan = true;
  EXPECT_TRUE(runBusCommand(core, [&] {
    EXPECT_TRUE(core.busBusy());
    innerRan = runBusCommand(core, [&] { ++inner; });
  }));
  EXPECT_FALSE(innerRan);
  EXPECT_EQ(inner, 0);
  EXPECT_FALSE(core.busBusy());
  EXPECT_TRUE(runBusCommand(core, [&] { ++inner; }));
  EXPECT_EQ(inner, 1);
}

TEST(BusCommandGuardTest, AFailingBusCommandFreesTheBus) {
  testing::RecordingPort port;
  testing::FakeDesktop desktop;
  core::ToolCore core(port, desktop);
  EXPECT_THROW(runBusCommand(core, [] { throw std::runtime_error("x"); }), std::runtime_error);
  EXPECT_FALSE(core.busBusy());
}

// The sender's yield falls between two complete writes: a command the user starts there
// runs, while one started inside that command's own yields is still refused.
TEST(BusCommandGuardTest, AYieldBetweenTransactionsLetsOtherCommandsRun) {
  testing::RecordingPort port;
  testing::FakeDesktop desktop;
  core::ToolCore core(port, desktop);
  std::vector<std::string> ran;
  int yields = 0;
  desktop.onYield = [&] {
    if (++yields == 1) {
      // The user's command, whose own yield comes in the middle of a transaction.
      ran.push_back(runBusCommand(core, [&] { desktop.processPendingEvents(); }) ? "ran" : "refused");
    } else {
      ran.push_back(runBusCommand(core, [] {}) ? "nested ran" : "refused");
    }
  };
  EXPECT_TRUE(runBusCommand(core, [&] {
    core.yieldBetweenTransactions();
    EXPECT_TRUE(core.busBusy());
  }));
  EXPECT_EQ(ran, (std::vector<std::string>{"refused", "ran"}));
  EXPECT_FALSE(core.busBusy());
}

}  // namespace
}  // namespace brelvion::core
