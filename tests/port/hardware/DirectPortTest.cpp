#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <optional>

#include "port/hardware/DirectPort.h"
#include "support/FakePortSystemCalls.h"
#include "support/RaisesRuntimeError.h"

namespace brelvion::port::hardware {
namespace {

using ::testing::ElementsAre;
using testing::raisesRuntimeError;

class DirectPortTest : public ::testing::Test {
 protected:
  testing::FakePortSystemCalls calls;
  std::optional<DirectPort> port{std::in_place, calls};
};

TEST_F(DirectPortTest, AsksForTheRegistersOfEachBaseOnceAndGivesThemBack) {
  calls.inbValue = 0x80;
  EXPECT_TRUE(calls.log.empty());

  port->out(0x37A, 0x08);
  EXPECT_EQ(port->inpb(0x379), 0x80);
  port->out(0x278, 0x7F);
  port->out(0x378, 0xFF);
  port.reset();

  EXPECT_THAT(calls.log, ElementsAre("ioperm 0x378 3 on", "outb 0x37A 08", "inb 0x379",
                                     "ioperm 0x278 3 on", "outb 0x278 7F", "outb 0x378 FF",
                                     "ioperm 0x378 3 off", "ioperm 0x278 3 off"));
}

TEST_F(DirectPortTest, RefusedPermissionNamesTheAddressesAndTheRightsNeeded) {
  calls.iopermError = EPERM;

  EXPECT_THAT([&] { port->inpb(0x3BD); },
              raisesRuntimeError(base::RuntimeError::kPermissionDenied, "0x3BC-0x3BE",
                                 "root (or CAP_SYS_RAWIO)"));
  port.reset();

  EXPECT_THAT(calls.log, ElementsAre("ioperm 0x3BC 3 on"));  // no I/O, nothing to give back
}

TEST_F(DirectPortTest, RefusesWhatItCannotReachBeforeAnyIo) {
  EXPECT_THAT([&] { port->out(0x37B, 0x00); },
              raisesRuntimeError(base::RuntimeError::kInvalidCall, "0x37B"));

  calls.portIo = false;
  EXPECT_THAT(
      [&] { port->out(0x378, 0x7F); },
      raisesRuntimeError(base::RuntimeError::kDeviceUnavailable, "only available on x86 Linux"));
  EXPECT_TRUE(calls.log.empty());
}

}  // namespace
}  // namespace brelvion::port::hardware
