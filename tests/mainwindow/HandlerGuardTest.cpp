#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "mainwindow/HandlerGuard.h"
#include "mocks/FakeDesktop.h"
#include "mocks/RecordingPort.h"

namespace brelvion::mainwindow {
namespace {

using platform::RuntimeError;

TEST(HandlerGuardTest, AnEscapingErrorIsShownAndGoesNoFurther) {
  testing::FakeDesktop desktop;
  runTrapped(desktop, [] { throw RuntimeError(RuntimeError::kTypeMismatch, "test"); });
  runTrapped(desktop, [] { throw std::runtime_error("vector index"); });
  runTrapped(desktop, [] { throw std::bad_alloc(); });
  runTrapped(desktop, [] { throw 42; });
  runTrapped(desktop, [] {});
  ASSERT_EQ(desktop.boxes.size(), 4u);
  EXPECT_EQ(desktop.boxes[0].text, "13: Type mismatch");
  EXPECT_EQ(desktop.boxes[0].title, "");
  EXPECT_EQ(desktop.boxes[0].icon, platform::MessageIcon::Critical);
  EXPECT_EQ(desktop.boxes[1].text, "51: Internal error (vector index)");
  EXPECT_EQ(desktop.boxes[2].text, "7: Out of memory");
  EXPECT_EQ(desktop.boxes[3].text, "51: Internal error");
}

TEST(HandlerGuardTest, AFailingBoxDoesNotEndTheProgramEither) {
  testing::FakeDesktop desktop;
  desktop.onBox = [](const platform::MessageBoxRequest&) { throw std::runtime_error("no box"); };
  EXPECT_NO_THROW(runTrapped(desktop, [] { throw std::runtime_error("first"); }));
}

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
}  // namespace brelvion::mainwindow
