#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>

#include <cerrno>

#include "port/hardware/PortSystemCalls.h"

namespace brelvion::port::hardware {
namespace {

// The backends read failures from the return value alone, so the real calls must hand
// back -errno rather than -1.
TEST(RealPortSystemCallsTest, FailuresComeBackAsNegativeErrno) {
  PortSystemCalls& calls = PortSystemCalls::real();

  EXPECT_EQ(calls.open("/nonexistent-brelvion-dir/parport0", O_RDWR), -ENOENT);
  EXPECT_EQ(calls.ioctl(-1, PPCLAIM, nullptr), -EBADF);
  EXPECT_EQ(calls.close(-1), -EBADF);
}

}  // namespace
}  // namespace brelvion::port::hardware
