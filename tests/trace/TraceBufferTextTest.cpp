#include <gtest/gtest.h>

#include <limits>

#include "trace/TraceBufferText.h"

namespace brelvion::trace {
namespace {

TEST(TraceBufferTextTest, LabelReadsItsLeadingNumber) {
  EXPECT_EQ(leadingNumber("10"), 10);
  EXPECT_EQ(leadingNumber("  250"), 250);
  EXPECT_EQ(leadingNumber("12 Lines"), 12);
  EXPECT_EQ(leadingNumber("12.5"), 12.5);
  EXPECT_EQ(leadingNumber(".5"), 0.5);
  EXPECT_EQ(leadingNumber("-3"), -3);
  EXPECT_EQ(leadingNumber("+7x"), 7);
  EXPECT_EQ(leadingNumber("1.5e1"), 15);
  EXPECT_EQ(leadingNumber("2e"), 2);  // an exponent without digits is not part of it
  EXPECT_EQ(leadingNumber(""), 0);
  EXPECT_EQ(leadingNumber("Lines"), 0);
  EXPECT_EQ(leadingNumber("-"), 0);
  EXPECT_EQ(leadingNumber("."), 0);
}

TEST(TraceBufferTextTest, LabelTextReadsBackAsTheSameSize) {
  for (double size : {0.0, 1.0, 10.0, 12.5, 250.0, 0.1}) {
    EXPECT_EQ(leadingNumber(traceBufferSizeText(size)), size);
  }
  EXPECT_EQ(traceBufferSizeText(10), "10");
  EXPECT_EQ(traceBufferSizeText(12.5), "12.5");
}

TEST(TraceBufferTextTest, SliderPositionIsAWholeLineCountWithinTheSlider) {
  EXPECT_EQ(traceSliderPosition(10), 10);
  EXPECT_EQ(traceSliderPosition(0), kTraceSliderMinimum);
  EXPECT_EQ(traceSliderPosition(-5), kTraceSliderMinimum);
  EXPECT_EQ(traceSliderPosition(1000), kTraceSliderMaximum);
  EXPECT_EQ(traceSliderPosition(12.5), 12);
  EXPECT_EQ(traceSliderPosition(13.5), 14);
  EXPECT_EQ(traceSliderPosition(std::numeric_limits<double>::infinity()), kTraceSliderMaximum);
  EXPECT_EQ(traceSliderPosition(std::numeric_limits<double>::quiet_NaN()), kTraceSliderMinimum);
}

}  // namespace
}  // namespace brelvion::trace
