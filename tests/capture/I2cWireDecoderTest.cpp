#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "capture/I2cWireDecoder.h"
#include "support/WireTokens.h"

namespace brelvion::capture {
namespace {

using Sample = BusCapture::Sample;

// Line levels as a master makes them, one change every 5 us.
class Wire {
 public:
  Wire() { samples.push_back({0, true, true}); }

  Wire& set(bool scl, bool sda) {
    samples.push_back({samples.back().timeNs + 5000, scl, sda});
    return *this;
  }
  Wire& start() { return set(true, false).set(false, false); }
  // SDA released first, then SCL: the repeated START's own clock, then the START.
  Wire& repeatedStart() { return set(false, true).set(true, true).start(); }
  Wire& stop() { return set(false, false).set(true, false).set(true, true); }
  Wire& bit(bool value) { return set(false, value).set(true, value).set(false, value); }
  Wire& byte(std::uint8_t value, bool acknowledged) {
    for (int i = 7; i >= 0; --i) bit(((value >> i) & 1) != 0);
    return bit(!acknowledged);
  }
  // A pulse of widthNs on one line in the middle of the last level.
  Wire& spike(bool onScl, std::int64_t widthNs) {
    const Sample last = samples.back();
    Sample flipped{last.timeNs + 1000, last.scl, last.sda};
    (onScl ? flipped.scl : flipped.sda) = !(onScl ? last.scl : last.sda);
    samples.push_back(flipped);
    samples.push_back({flipped.timeNs + widthNs, last.scl, last.sda});
    return *this;
  }

  std::vector<Sample> samples;
};

class Transfers : public TransferSink {
 public:
  void transfer(DecodedTransfer&& transfer) override { list.push_back(std::move(transfer)); }
  std::vector<DecodedTransfer> list;
};

// Samples through the whole decoder, each from line 7.
struct Decoding {
  explicit Decoding(const std::vector<Sample>& samples, std::int64_t glitchNs = 0)
      : decoder(transfers, glitchNs) {
    for (const Sample& sample : samples) decoder.levels(sample.timeNs, sample.scl, sample.sda, 7);
    decoder.finish();
  }
  Transfers transfers;
  I2cDecoder decoder;
};

TEST(I2cWireDecoderTest, StartsStopsAndBitsAsTheLinesSayThem) {
  Wire wire;
  wire.start().byte(0x42, true).byte(0x10, false).stop();
  EXPECT_EQ(testing::wireTokens(wire.samples), "S" "010000100" "000100001" "0P");
}

TEST(I2cWireDecoderTest, LinesChangingAtOneInstantAreSdaChangingWhileSclIsLow) {
  // SCL rising with SDA: the bit is SDA's new level. SCL falling with SDA: no condition.
  EXPECT_EQ(testing::wireTokens({{0, false, true}, {10, true, false}, {20, false, true}}), "0");
  EXPECT_EQ(testing::wireTokens({{0, true, true}, {10, false, false}, {20, true, false}}), "0");
}

TEST(I2cWireDecoderTest, PulsesShorterThanTheGlitchTimeNeverHappened) {
  Wire clean;
  clean.start().byte(0x42, true).stop();
  Wire noisy;
  noisy.start().spike(true, 20).byte(0x42, true).set(false, false).set(true, false).spike(false, 30);
  noisy.set(true, true);
  EXPECT_EQ(testing::wireTokens(noisy.samples, 50), testing::wireTokens(clean.samples));
  // Unfiltered, the SCL spike is a bit and the SDA spike a STOP and a START.
  EXPECT_EQ(testing::wireTokens(noisy.samples), "S0" "010000100" "0" "PS" "P");

  // A pulse as long as the glitch time is a pulse.
  Wire edge;
  edge.start().spike(true, 50);
  EXPECT_EQ(testing::wireTokens(edge.samples, 50), "S0");
  testing::WireTokenText tokens;
  WireEventDecoder decoder(tokens, 50);
  for (const Sample& sample : noisy.samples) decoder.levels(sample.timeNs, sample.scl, sample.sda);
  decoder.finish();
  EXPECT_EQ(decoder.glitches(), 2u);
}

TEST(I2cWireDecoderTest, RepeatedStartsSplitATransferIntoMessages) {
  Wire wire;
  wire.start().byte(0x42, true).byte(0x01, true).byte(0x03, true);
  wire.repeatedStart().byte(0x43, true).byte(0x5A, true).byte(0xC3, false).stop();
  const Decoding decoding(wire.samples);
  const auto& transfers = decoding.transfers.list;
  ASSERT_EQ(transfers.size(), 1u);
  const DecodedTransfer& transfer = transfers[0];
  EXPECT_TRUE(transfer.stopped);
  EXPECT_EQ(transfer.startNs, 5000);
  EXPECT_EQ(transfer.endNs, wire.samples.back().timeNs);
  EXPECT_EQ(transfer.line, 7u);
  ASSERT_EQ(transfer.messages.size(), 2u);
  const DecodedMessage& write = transfer.messages[0];
  EXPECT_EQ(write.address, 0x42);
  EXPECT_FALSE(write.read());
  EXPECT_TRUE(write.addressAcknowledged);
  EXPECT_EQ(write.bytes, (std::vector<std::uint8_t>{0x01, 0x03}));
  EXPECT_EQ(write.acknowledged, (std::vector<bool>{true, true}));
  EXPECT_EQ(write.trailingBits, 1);  // the repeated START's own clock
  EXPECT_FALSE(write.cutOff());
  const DecodedMessage& read = transfer.messages[1];
  EXPECT_TRUE(read.read());
  EXPECT_EQ(read.bytes, (std::vector<std::uint8_t>{0x5A, 0xC3}));
  EXPECT_EQ(read.acknowledged, (std::vector<bool>{true, false}));
  EXPECT_EQ(read.trailingBits, 1);  // the STOP's own clock
}

TEST(I2cWireDecoderTest, CountsWhatLiesOutsideTransfersAndKeepsWhatIsCutOff) {
  Wire wire;
  wire.bit(true).bit(false).stop();
  wire.start().byte(0x50, false).bit(true).bit(false).bit(true).stop();
  wire.start().byte(0x42, true);
  const Decoding decoding(wire.samples);
  const auto& transfers = decoding.transfers.list;
  EXPECT_EQ(decoding.decoder.strayBits(), 3u);  // two bits and the STOP's clock
  EXPECT_EQ(decoding.decoder.strayStops(), 1u);
  ASSERT_EQ(transfers.size(), 2u);
  EXPECT_FALSE(transfers[0].messages[0].addressAcknowledged);
  EXPECT_EQ(transfers[0].messages[0].trailingBits, 4);
  EXPECT_TRUE(transfers[0].messages[0].cutOff());
  EXPECT_FALSE(transfers[1].stopped);
  // Its last event: the acknowledge bit's clock rise.
  EXPECT_EQ(transfers[1].endNs, wire.samples[wire.samples.size() - 2].timeNs);
}

}  // namespace
}  // namespace brelvion::capture
