#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace brelvion::capture {

// What the two lines say, as a logic analyser's I2C decoder reads them: SDA falling while
// SCL is high is a START, SDA rising while SCL is high a STOP, and SDA as it is when SCL
// rises is a bit. Levels that change at one instant are taken as SDA changing while SCL is
// low: SDA first where SCL rises, SCL first where it falls.
struct WireEvent {
  enum class Kind { Start, Stop, Bit };
  Kind kind = Kind::Bit;
  bool bit = false;
  std::int64_t timeNs = 0;
  // Where the levels came from (a file's line), 0 when nowhere.
  std::size_t line = 0;
};

class WireEventSink {
 public:
  virtual ~WireEventSink() = default;
  virtual void event(const WireEvent& event) = 0;
};

// Line levels to wire events. A pulse on either line shorter than glitchNs (from one
// change to the change back) is a glitch and is dropped, as I2C's input filters do; the
// change before it and after it then never happened. With glitchNs 0 every change counts.
class WireEventDecoder {
 public:
  explicit WireEventDecoder(WireEventSink& sink, std::int64_t glitchNs = 0)
      : sink_(sink), glitchNs_(glitchNs) {}

  // The levels at timeNs, times not decreasing. The first call only sets the levels.
  void levels(std::int64_t timeNs, bool scl, bool sda, std::size_t line = 0);
  // Ends the input: changes still held back by the glitch filter are given out.
  void finish();

  // Pulses dropped as glitches.
  std::size_t glitches() const { return glitches_; }

 private:
  struct Pending {
    bool held = false;
    bool level = false;
    std::int64_t timeNs = 0;
    std::size_t line = 0;
  };

  void settleUpTo(std::int64_t timeNs);
  void settle(int line);
  void apply(std::int64_t timeNs, bool scl, bool sda, std::size_t line);

  WireEventSink& sink_;
  std::int64_t glitchNs_;
  bool started_ = false;
  // The levels given out so far: SCL, SDA.
  std::array<bool, 2> level_{};
  // A change of each line held until it has lasted glitchNs.
  std::array<Pending, 2> pending_{};
  std::size_t glitches_ = 0;
};

// One message of a transfer as seen on the wire.
struct DecodedMessage {
  std::int64_t startNs = 0;
  std::size_t line = 0;
  // The address byte (8-bit form: bit 0 set for a read) once all its eight bits came.
  bool hasAddress = false;
  std::uint8_t address = 0;
  bool addressAcknowledged = false;
  // The bytes after the address, each with its ninth bit: true where SDA was low
  // (acknowledged, by the slave for a write, by the master for a read).
  std::vector<std::uint8_t> bytes;
  std::vector<bool> acknowledged;
  // Bits after the last whole byte with its acknowledge bit, up to the next START or STOP.
  // One is the condition's own clock: a master raises SCL with SDA low before a STOP, and
  // with SDA high before a repeated START, and the decoder sees that rise as a bit. More
  // than one is a byte cut off.
  int trailingBits = 0;

  bool cutOff() const { return trailingBits > 1; }

  bool read() const { return (address & 1) != 0; }
};

// From a START to its STOP, with repeated STARTs between the messages.
struct DecodedTransfer {
  std::int64_t startNs = 0;
  std::int64_t endNs = 0;
  // The line the START came from.
  std::size_t line = 0;
  // False when the input ended before the STOP.
  bool stopped = false;
  std::vector<DecodedMessage> messages;
};

class TransferSink {
 public:
  virtual ~TransferSink() = default;
  virtual void transfer(DecodedTransfer&& transfer) = 0;
};

// Wire events to transfers: bytes of eight bits, most significant first, each followed by
// its acknowledge bit; the first byte after a START (or repeated START) is the address.
class I2cTransferDecoder : public WireEventSink {
 public:
  explicit I2cTransferDecoder(TransferSink& sink) : sink_(sink) {}

  void event(const WireEvent& event) override;
  // Ends the input: a transfer without its STOP is given out as it stands.
  void finish();

  // Clock pulses outside any transfer (a bus clear, or a capture begun mid-transfer), and
  // STOPs without a START.
  std::size_t strayBits() const { return strayBits_; }
  std::size_t strayStops() const { return strayStops_; }

 private:
  void bit(bool value);
  void closeMessage();

  TransferSink& sink_;
  bool inTransfer_ = false;
  DecodedTransfer transfer_;
  int bits_ = 0;
  std::uint8_t byte_ = 0;
  std::int64_t lastNs_ = 0;
  std::size_t strayBits_ = 0;
  std::size_t strayStops_ = 0;
};

// Levels to transfers in one: the glitch filter, the events and the transfers.
class I2cDecoder {
 public:
  explicit I2cDecoder(TransferSink& sink, std::int64_t glitchNs = 0)
      : transfers_(sink), events_(transfers_, glitchNs) {}

  void levels(std::int64_t timeNs, bool scl, bool sda, std::size_t line = 0) {
    events_.levels(timeNs, scl, sda, line);
  }
  void finish() {
    events_.finish();
    transfers_.finish();
  }

  std::size_t glitches() const { return events_.glitches(); }
  std::size_t strayBits() const { return transfers_.strayBits(); }
  std::size_t strayStops() const { return transfers_.strayStops(); }

 private:
  I2cTransferDecoder transfers_;
  WireEventDecoder events_;
};

}  // namespace brelvion::capture
