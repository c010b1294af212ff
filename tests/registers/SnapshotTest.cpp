#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "registers/Diff.h"
#include "registers/MapFiles.h"
#include "registers/Snapshot.h"
#include "support/RaisesRuntimeError.h"
#include "support/ScratchDirectory.h"

namespace brelvion::registers {
namespace {

const std::string kText =
    "brelvion-register-snapshot 1\n"
    "device: SIM16 camera sensor\n"
    "i2c-address: 20\n"
    "register-bits: 16\n"
    "byte-order: big\n"
    "time: 2025-03-04 10:22:31 +0100\n"
    "\n"
    "0000 CHIP_ID 16 B716\n"
    "0100 MODE_SELECT 8 01\n"
    "0344 - 32 00100020\n";

std::string snapError(const std::string& text) {
  try {
    readSnapshot(text, "s.snap");
  } catch (const base::RuntimeError& error) {
    EXPECT_EQ(error.number(), 321);
    return error.description();
  }
  return "";
}

TEST(SnapshotTest, TheTextFormatBothWays) {
  Snapshot snapshot;
  snapshot.device = "SIM16 camera sensor";
  snapshot.deviceAddress = 0x20;
  snapshot.addressBytes = 2;
  snapshot.time = "2025-03-04 10:22:31 +0100";
  snapshot.values = {{0x0000, "CHIP_ID", 2, 0xB716},
                     {0x0100, "MODE_SELECT", 1, 0x01},
                     {0x0344, "", 4, 0x00100020}};
  EXPECT_EQ(snapshotText(snapshot), kText);
  EXPECT_EQ(readSnapshot(kText, "s.snap"), snapshot);
  // Comments, CR LF and lines in any order read the same.
  EXPECT_EQ(readSnapshot("brelvion-register-snapshot 1\r\n# taken by hand\r\ndevice: SIM16 camera "
                         "sensor\r\ni2c-address: 20\r\nregister-bits: 16\r\ntime: 2025-03-04 "
                         "10:22:31 +0100\r\n\r\n0344 - 32 100020\r\n# ID\r\n0000 CHIP_ID 16 "
                         "b716\r\n\r\n0100 MODE_SELECT 8 1\r\n",
                         "s.snap"),
            snapshot);
}

TEST(SnapshotTest, EveryMistakeNamesFileLineAndColumn) {
  const std::string head = "brelvion-register-snapshot 1\nregister-bits: 8\n\n";
  EXPECT_EQ(snapError(""), "s.snap:1:1: the snapshot is empty");
  EXPECT_EQ(snapError("0000 A 8 00\n"),
            "s.snap:1:1: not a register snapshot (its first line is not "
            "'brelvion-register-snapshot 1')");
  EXPECT_EQ(snapError("brelvion-register-snapshot 1\ncolour: red\n"),
            "s.snap:2:1: unknown header key 'colour' (known keys: device, i2c-address, "
            "register-bits, byte-order, time)");
  EXPECT_EQ(snapError("brelvion-register-snapshot 1\ntime: a\ntime: b\n"),
            "s.snap:3:1: header key 'time' is given twice");
  EXPECT_EQ(snapError("brelvion-register-snapshot 1\nregister-bits: 12\n"),
            "s.snap:2:16: register-bits is 0, 8 or 16, not '12'");
  EXPECT_EQ(snapError("brelvion-register-snapshot 1\ni2c-address: 21\n"),
            "s.snap:2:14: i2c-address is an even write address of two hex digits, not '21'");
  EXPECT_EQ(snapError(head + "10 A 8\n"),
            "s.snap:4:1: a register line is ADDRESS NAME WIDTH VALUE, e.g. 0100 MODE_SELECT 8 01");
  EXPECT_EQ(snapError(head + "10 A 8 100\n"), "s.snap:4:8: a 8-bit value is up to 2 hex digits, not '100'");
  EXPECT_EQ(snapError(head + "10 A 12 1\n"), "s.snap:4:6: a register is 8, 16 or 32 bits wide, not '12'");
  EXPECT_EQ(snapError(head + "1G A 8 1\n"), "s.snap:4:1: the address is up to four hex digits, not '1G'");
  EXPECT_EQ(snapError(head + "100 A 8 1\n"),
            "s.snap:4:1: register address 100h does not fit 8-bit register addresses");
  EXPECT_EQ(snapError(head + "10 A-1 8 1\n"), "s.snap:4:4: 'A-1' is not a register name (or - for none)");
  EXPECT_EQ(snapError(head + "10 A 16 1\n11 B 8 2\n"),
            "s.snap:5:1: the 8-bit register at 11 overlaps the 16-bit register at 10 (A at line 4)");
}

TEST(SnapshotTest, DifferencesListChangedRegistersAndThoseOnlyOneSideHolds) {
  const std::vector<RegisterValue> left{{0x10, "A", 1, 1}, {0x11, "B", 1, 2}, {0x12, "C", 1, 3}};
  const std::vector<RegisterValue> right{{0x11, "B", 1, 2}, {0x12, "C", 1, 4}, {0x14, "", 2, 5}};
  const std::vector<Difference> all = compareValues(left, right);
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(differenceText(all[0], 1), "10 A: 01 -> (none)");
  EXPECT_EQ(differenceText(all[1], 1), "12 C: 03 -> 04");
  EXPECT_EQ(differenceText(all[2], 2), "0014: (none) -> 0005");
  const std::vector<Difference> common = compareValues(left, right, CompareScope::Common);
  ASSERT_EQ(common.size(), 1u);
  EXPECT_EQ(common[0].address, 0x12u);
  EXPECT_TRUE(compareValues(left, left).empty());
}

// Two snapshots of one register; a width alone is a difference, shown at each side's width.
TEST(SnapshotTest, TwoSnapshotsOfOneRegisterDifferByValueOrWidth) {
  const std::string head = "brelvion-register-snapshot 1\nregister-bits: 16\n\n";
  const struct {
    std::string left;
    std::string right;
    std::vector<std::string> differences;
  } cases[] = {
      {"0010 A 8 12", "0010 A 8 12", {}},
      {"0010 A 8 12", "0010 A 16 0012", {"0010 A: 12 -> 0012"}},
      {"0010 A 16 0012", "0010 - 32 00000012", {"0010 A: 0012 -> 00000012"}},
      {"0010 A 8 12", "0010 A 8 13", {"0010 A: 12 -> 13"}},
  };
  for (const auto& c : cases) {
    const Snapshot left = readSnapshot(head + c.left + "\n", "a.snap");
    const Snapshot right = readSnapshot(head + c.right + "\n", "b.snap");
    std::vector<std::string> shown;
    for (const Difference& difference : compareValues(left.values, right.values)) {
      shown.push_back(differenceText(difference, 2));
    }
    EXPECT_EQ(shown, c.differences) << c.left << " against " << c.right;
  }
}

TEST(SnapshotTest, AFileAnEditorGaveAByteOrderMarkLoads) {
  const testing::ScratchDirectory dir;
  EXPECT_EQ(loadSnapshot(dir.write("s.snap", "\xEF\xBB\xBF" + kText)),
            readSnapshot(kText, "s.snap"));
}

TEST(SnapshotTest, SavedSnapshotsReplaceAFileOnlyWhole) {
  testing::ScratchDirectory dir;
  Snapshot snapshot = readSnapshot(kText, "s.snap");
  const std::string path = dir.file("s.snap");
  saveSnapshot(path, snapshot);
  EXPECT_EQ(loadSnapshot(path), snapshot);
  EXPECT_THAT([&] { saveSnapshot(dir.file("no/such/s.snap"), snapshot); },
              testing::raisesRuntimeError(76, "No such file or directory"));
}

}  // namespace
}  // namespace brelvion::registers
