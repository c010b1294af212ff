#include <gtest/gtest.h>

#include <filesystem>

#include "FakeParportTree.h"
#include "platform/hardware/ParportDevices.h"

namespace brelvion::platform {
namespace {

using testing::FakeParportTree;

TEST(ListParportDevicesTest, ListsPortsByNumberWithTheBaseTheKernelReports) {
  FakeParportTree tree;
  tree.addProcEntry(10, "632\t0\n");
  tree.addProcEntry(0, "888\t1912\n");
  tree.addProcEntry(2, "956\t0\n");
  for (int number : {0, 2, 10}) tree.addNode(number);
  std::filesystem::create_directories(tree.procDir() / "default");

  const auto devices = listParportDevices(tree.root());

  ASSERT_EQ(devices.size(), 3u);
  EXPECT_EQ(devices[0], (ParportDevice{"parport0", tree.node(0), 0x378, true}));
  EXPECT_EQ(devices[1], (ParportDevice{"parport2", tree.node(2), 0x3BC, true}));
  EXPECT_EQ(devices[2], (ParportDevice{"parport10", tree.node(10), 0x278, true}));
}

TEST(ListParportDevicesTest, KeepsPortsKnownOnlyToProcOrOnlyToDev) {
  FakeParportTree tree;
  tree.addProcEntry(0, "888\t1912\n");  // ppdev not loaded: no node
  tree.addNode(1);                      // no sysctl entry: base unknown

  const auto devices = listParportDevices(tree.root());

  ASSERT_EQ(devices.size(), 2u);
  EXPECT_EQ(devices[0], (ParportDevice{"parport0", tree.node(0), 0x378, false}));
  EXPECT_EQ(devices[1], (ParportDevice{"parport1", tree.node(1), std::nullopt, true}));
  EXPECT_FALSE(anyUsableParport(devices));  // one has no node, the other no known base
  EXPECT_FALSE(anyUsableParport({ParportDevice{"parport3", tree.node(3), 0xD000, true}}));
  EXPECT_TRUE(anyUsableParport({ParportDevice{"parport3", tree.node(3), 0x278, true}}));
}

TEST(ListParportDevicesTest, MalformedOrMissingEntriesNeverThrow) {
  FakeParportTree tree;
  tree.addProcEntry(0, "0x378\t0\n");  // the kernel writes decimal; anything else is not trusted
  tree.addProcEntry(1, "");
  tree.addProcEntry(2, "garbage");
  std::filesystem::create_directories(tree.procDir() / "parportX");

  const auto devices = listParportDevices(tree.root());

  ASSERT_EQ(devices.size(), 3u);
  for (const auto& device : devices) EXPECT_FALSE(device.base) << device.name;
  EXPECT_TRUE(listParportDevices(tree.root() / "no-such-root").empty());
}

}  // namespace
}  // namespace brelvion::platform
