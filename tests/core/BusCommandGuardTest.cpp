#include <gtest/gtest.h>

#include <stdexcept>

#include "core/BusCommandGuard.h"
#include "support/FakeDesktop.h"
#include "support/RecordingPort.h"

namespace brelvion::core {
namespace {

TEST(HandlerGuardTest, ABusCommandStartedInsideAnotherIsRefused) {
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

TEST(HandlerGuardTest, AFailingBusCommandFreesTheBus) {
  testing::RecordingPort port;
  testing::FakeDesktop desktop;
  core::ToolCore core(port, desktop);
  EXPECT_THROW(runBusCommand(core, [] { throw std::runtime_error("x"); }), std::runtime_error);
  EXPECT_FALSE(core.busBusy());
}

}  // namespace
}  // namespace brelvion::core
