#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "capture/BusCapture.h"
#include "capture/VcdReader.h"

namespace brelvion::capture {
namespace {

std::string errorOf(const std::string& text, const VcdSignals& signals = {}) {
  VcdError error;
  if (readVcdCapture(text, signals, &error)) return "read";
  return std::to_string(error.line) + ": " + error.message;
}

const std::string kHeader =
    "$timescale 1 ns $end\n$var wire 1 ! scl $end\n$var wire 1 \" sda $end\n$enddefinitions $end\n";

TEST(VcdReaderTest, ReadsACaptureBackAsItWasRecorded) {
  BusCapture capture;
  capture.record(1000, true, true);
  capture.record(6000, true, false);
  capture.record(11000, false, false);
  capture.record(16000, false, true);
  std::ostringstream text;
  capture.writeVcd(text);
  const auto read = readVcdCapture(text.str(), {});
  ASSERT_TRUE(read.has_value());
  ASSERT_EQ(read->samples.size(), 4u);
  EXPECT_EQ(read->samples[1].timeNs, 5000);
  EXPECT_FALSE(read->samples[1].sda);
  EXPECT_EQ(read->samples[3].timeNs, 15000);
  EXPECT_TRUE(read->samples[3].sda);
  EXPECT_EQ(read->stats.endTimeNs, 25000);
  EXPECT_EQ(read->stats.changes, 5u);
  EXPECT_EQ(read->stats.redundantChanges, 0u);
  EXPECT_EQ(read->stats.idleTimeStamps, 0u);
}

// As a logic analyser's export looks: several channels, a microsecond timescale, changes
// after the time stamp on one line, a comment, vectors and released (z) levels.
TEST(VcdReaderTest, PicksTheNamedChannelsOfAnAnalysersExport) {
  const std::string text =
      "$date today $end\n"
      "$version a logic analyser $end\n"
      "$comment\n  Acquisition with 4/8 channels at 1 MHz\n$end\n"
      "$timescale 1 us $end\n"
      "$scope module analyser $end\n"
      "$var wire 1 ! D0 $end\n"
      "$var wire 1 \" D1 $end\n"
      "$var wire 1 # D2 $end\n"
      "$upscope $end\n"
      "$enddefinitions $end\n"
      "#0 1! 1\" 0#\n"
      "#3 1#\n"
      "#5 0\"\n"
      "#9 b0 ! z\"\n"
      "#12\n";
  VcdSignals signals;
  signals.scl = "d1";
  signals.sda = "D0";
  const auto read = readVcdCapture(text, signals);
  ASSERT_TRUE(read.has_value()) << errorOf(text, signals);
  ASSERT_EQ(read->samples.size(), 3u);
  EXPECT_EQ(read->samples[0].timeNs, 0);
  EXPECT_EQ(read->samples[1].timeNs, 5000);
  EXPECT_FALSE(read->samples[1].scl);
  EXPECT_TRUE(read->samples[1].sda);
  EXPECT_EQ(read->samples[2].timeNs, 9000);
  EXPECT_TRUE(read->samples[2].scl);
  EXPECT_FALSE(read->samples[2].sda);
  EXPECT_EQ(read->stats.endTimeNs, 12000);
  // #3 changed another channel only.
  EXPECT_EQ(read->stats.idleTimeStamps, 1u);
  EXPECT_EQ(read->stats.lines, 17u);
}

TEST(VcdReaderTest, CountsLinesEndedByCrLfOrCrAndRoundsFineTimescalesDown) {
  const std::string text =
      "$timescale 100 ps $end\r\n$var wire 1 a scl $end\r$var wire 1 b sda $end\r\n"
      "$enddefinitions $end\r#0\r1a\r1b\r#15\r0b\r#19\r1a\r#20\r0a\r";
  const auto read = readVcdCapture(text, {});
  ASSERT_TRUE(read.has_value()) << errorOf(text);
  ASSERT_EQ(read->samples.size(), 3u);
  EXPECT_EQ(read->samples[1].timeNs, 1);
  // #19 (1.9 ns) falls on 1 ns too: one instant, at which scl set to 1 changed nothing.
  EXPECT_EQ(read->samples[2].timeNs, 2);
  EXPECT_EQ(read->stats.redundantChanges, 1u);
  EXPECT_EQ(read->stats.lines, 13u);
  EXPECT_EQ(errorOf(text + "#1\r"), "14: time stamp #1 goes back in time");
}

TEST(VcdReaderTest, NamesEachFaultWithItsLine) {
  EXPECT_EQ(errorOf("$var wire 1 ! D0 $end\n$enddefinitions $end\n"),
            "2: no signal named 'scl' (the file has: D0)");
  EXPECT_EQ(errorOf("$var wire 8 ! scl $end\n"), "1: signal 'scl' is 8 bits wide, not one line");
  EXPECT_EQ(errorOf("$var wire 1 ! scl $end\n$var wire 1 ! sda $end\n$enddefinitions $end\n"),
            "3: 'scl' and 'sda' are one signal (identifier !)");
  EXPECT_EQ(errorOf("$var wire 1 ! scl $end\n$var wire 1 ! SCL $end\n"),
            "2: two signals are named 'scl'");
  EXPECT_EQ(errorOf("$timescale 3 ns $end\n"),
            "1: timescale '3 ns' is not 1, 10 or 100 s, ms, us, ns, ps or fs");
  EXPECT_EQ(errorOf("$var wire 1 ! scl $end\nscl\n"),
            "2: 'scl' in the header, where a $ keyword belongs");
  EXPECT_EQ(errorOf("$var wire 1 ! scl $end\n"), "2: the file ends before $enddefinitions");
  EXPECT_EQ(errorOf("$comment never closed\n"), "2: $comment without its $end");
  EXPECT_EQ(errorOf(kHeader + "#0 1! 1\"\n#5 x!\n"), "6: scl becomes x (unknown)");
  EXPECT_EQ(errorOf(kHeader + "#0 1! 1\"\n#5 2!\n"), "6: '2!' is neither a time stamp nor a value change");
  EXPECT_EQ(errorOf(kHeader + "#0 1! 1\"\n#5 $scope\n"), "6: '$scope' after $enddefinitions");
  EXPECT_EQ(errorOf(kHeader + "#x\n"), "5: time stamp '#x' is not a number");
  EXPECT_EQ(errorOf(kHeader + "#99999999999999999999\n"), "5: time stamp #99999999999999999999 is too large");
  // Unknown levels before a line's first known one are no fault.
  EXPECT_EQ(errorOf(kHeader + "#0 x! x\" 1! 1\"\n#5\n"), "read");
}

}  // namespace
}  // namespace brelvion::capture
