#include <gtest/gtest.h>

#include <filesystem>

#include "port/hardware/ParportDevices.h"
#include "support/FakeParportTree.h"

namespace brelvion::port::hardware {
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

TEST(ListParportDevicesTest, FindsThePortToSuggestWhenTheChosenOneIsMissing) {
  const ParportDevice lpt2{"parport0", "/dev/parport0", 0x278, true};
  const ParportDevice lpt3WithoutNode{"parport1", "/dev/parport1", 0x3BC, false};
  const ParportDevice pciCard{"parport2", "/dev/parport2", 0xD000, true};

  EXPECT_EQ(usableLptIndexInsteadOf({pciCard, lpt2}, 0x378), 1u);
  EXPECT_FALSE(usableLptIndexInsteadOf({lpt2}, 0x278));  // the chosen one is there
  EXPECT_FALSE(usableLptIndexInsteadOf({lpt3WithoutNode, pciCard}, 0x378));
  EXPECT_FALSE(usableLptIndexInsteadOf({}, 0x378));

  const std::vector<ParportDevice> withoutPpdev{lpt2, lpt3WithoutNode};
  ASSERT_NE(lptPortWithoutNode(withoutPpdev), nullptr);
  EXPECT_EQ(lptPortWithoutNode(withoutPpdev)->name, "parport1");
  const ParportDevice pciCardWithoutNode{"parport3", "/dev/parport3", 0xD000, false};
  EXPECT_EQ(lptPortWithoutNode({lpt2, pciCardWithoutNode}), nullptr);
}

}  // namespace
}  // namespace brelvion::port::hardware
