#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <memory>

#include "port/hardware/PpdevPort.h"
#include "support/FakeParportTree.h"
#include "support/FakePortSystemCalls.h"
#include "support/RaisesRuntimeError.h"

namespace brelvion::port::hardware {
namespace {

using ::testing::ElementsAre;
using testing::raisesRuntimeError;

class PpdevPortTest : public ::testing::Test {
 protected:
  PpdevPortTest() {
    tree.addPort(0, 0x378);
    tree.addPort(1, 0x278);
    tree.addPort(2, 0x3BC);
  }

  testing::FakeParportTree tree;
  testing::FakePortSystemCalls calls;
  std::unique_ptr<PpdevPort> port = std::make_unique<PpdevPort>(calls, tree.root());
};

TEST_F(PpdevPortTest, OpensTheDeviceAtTheBaseOnFirstAccessAndClaimsItExclusively) {
  EXPECT_TRUE(calls.log.empty());

  port->inpb(0x27A);
  port->out(0x278, 0x7F);

  EXPECT_THAT(calls.log, ElementsAre("open " + tree.node(1), "ioctl 3 PPEXCL", "ioctl 3 PPCLAIM",
                                     "ioctl 3 PPRCONTROL", "ioctl 3 PPWDATA 7F"));
}

TEST_F(PpdevPortTest, EachRegisterGoesToItsIoctlWithRawValues) {
  calls.reads = {{PPRSTATUS, 0x80}, {PPRCONTROL, 0x08}, {PPRDATA, 0x5A}};

  EXPECT_EQ(port->inpb(0x379), 0x80);
  EXPECT_EQ(port->inpb(0x37A), 0x08);
  EXPECT_EQ(port->inpb(0x378), 0x5A);
  port->out(0x37A, 0x08);
  port->out(0x378, 0xFF);
  port->out(0x379, 0x12);  // read-only register: nothing to do

  calls.log.erase(calls.log.begin(), calls.log.begin() + 3);
  EXPECT_THAT(calls.log, ElementsAre("ioctl 3 PPRSTATUS", "ioctl 3 PPRCONTROL", "ioctl 3 PPRDATA",
                                     "ioctl 3 PPWCONTROL 08", "ioctl 3 PPWDATA FF"));
}

TEST_F(PpdevPortTest, ReleasesAndClosesEveryOpenedDeviceOnDestruction) {
  port->out(0x378, 0x7F);
  port->out(0x3BC, 0x7F);
  calls.log.clear();

  port.reset();

  EXPECT_THAT(calls.log,
              ElementsAre("ioctl 3 PPRELEASE", "close 3", "ioctl 4 PPRELEASE", "close 4"));
  EXPECT_TRUE(calls.openFds.empty());
}

TEST_F(PpdevPortTest, NoDeviceForTheBaseNamesTheAddressAndWhatWasFound) {
  testing::FakeParportTree other;
  other.addPort(0, 0x278);
  other.addProcEntry(1, "53248\t53256\n");
  PpdevPort elsewhere(calls, other.root());
  EXPECT_THAT([&] { elsewhere.inpb(0x379); },
              raisesRuntimeError(
                  base::RuntimeError::kFileNotFound, "No parallel port at 0x378",
                  other.node(0) + " at 0x278, " + other.node(1) + " at 0xD000 (no device node)"));

  testing::FakeParportTree empty;
  PpdevPort none(calls, empty.root());
  EXPECT_THAT([&] { none.out(0x378, 0); },
              raisesRuntimeError(base::RuntimeError::kFileNotFound, "modprobe parport_pc ppdev"));

  testing::FakeParportTree withoutPpdev;
  withoutPpdev.addProcEntry(0, "888\t1912\n");
  PpdevPort noNode(calls, withoutPpdev.root());
  EXPECT_THAT([&] { noNode.out(0x378, 0); },
              raisesRuntimeError(base::RuntimeError::kFileNotFound,
                                 withoutPpdev.node(0) + " is missing", "modprobe ppdev"));
  EXPECT_TRUE(calls.log.empty());
}

TEST_F(PpdevPortTest, RefusedOpenIsPermissionDeniedNamingTheLpGroup) {
  calls.openErrors[tree.node(0)] = EACCES;

  EXPECT_THAT([&] { port->out(0x37A, 0x08); },
              raisesRuntimeError(base::RuntimeError::kPermissionDenied,
                                 "Permission denied on " + tree.node(0), "group 'lp'"));
}

TEST_F(PpdevPortTest, PortHeldByAnotherDriverIsBusyAndLeavesNoDescriptorOpen) {
  calls.ioctlErrors[PPCLAIM] = ENXIO;  // what ppdev answers when lp is registered on the port

  EXPECT_THAT([&] { port->inpb(0x379); }, raisesRuntimeError(base::RuntimeError::kDeviceUnavailable,
                                                             tree.node(0) + " is busy", "'lp'"));

  EXPECT_TRUE(calls.openFds.empty());
  port.reset();
  EXPECT_EQ(calls.log.back(), "close 3");  // no release of a claim never made
}

TEST_F(PpdevPortTest, OtherFailuresAreDeviceUnavailableWithTheSystemReason) {
  calls.openErrors[tree.node(0)] = EIO;
  calls.ioctlErrors[PPRSTATUS] = EIO;

  EXPECT_THAT([&] { port->inpb(0x379); },
              raisesRuntimeError(base::RuntimeError::kDeviceUnavailable,
                                 "Cannot open " + tree.node(0), "Input/output error"));
  EXPECT_THAT([&] { port->inpb(0x279); },
              raisesRuntimeError(base::RuntimeError::kDeviceUnavailable,
                                 "Access to " + tree.node(1) + " failed"));
}

}  // namespace
}  // namespace brelvion::port::hardware
