// A logic-analyser capture (VCD) of SCL and SDA: read, decoded into transfers by the
// project's I2C decoder, and turned into writes and register reads, with the gaps between
// transfers longer than the options' minimum kept as delays.
#include <algorithm>
#include <iterator>

#include "numconv/HexText.h"
#include "i2c/DeviceAddress.h"
#include "capture/I2cWireDecoder.h"
#include "capture/VcdReader.h"
#include "scripts/Converters.h"
#include "scripts/MessageConverter.h"

namespace brelvion::scripts {

namespace {

constexpr std::int64_t kNsPerMs = 1'000'000;

class TransferConverter : public capture::TransferSink {
 public:
  TransferConverter(MessageConverter& converter, const std::string& fileName,
                    const ImportOptions& options, Problems& problems)
      : converter_(converter), fileName_(fileName), options_(options), problems_(problems) {}

  void transfer(capture::DecodedTransfer&& transfer) override {
    ++transfers_;
    if (!transfer.stopped) {
      problem(transfer.line, "the capture ends inside a transfer, before its STOP");
      return;
    }
    if (transfers_ > 1) gap(transfer.startNs - previousEndNs_);
    previousEndNs_ = transfer.endNs;
    for (const capture::DecodedMessage& message : transfer.messages) take(message);
  }

  std::size_t transfers() const { return transfers_; }

 private:
  void gap(std::int64_t ns) {
    if (static_cast<double>(ns) <= options_.minDelayMs * static_cast<double>(kNsPerMs)) return;
    const std::int64_t ms = std::max<std::int64_t>(1, ns / kNsPerMs);
    if (ms > static_cast<std::int64_t>(kLongestWaitMs)) {
      converter_.delay(kLongestWaitMs, "the capture waited " + std::to_string(ms) + " ms here");
      return;
    }
    converter_.delay(static_cast<std::uint32_t>(ms));
  }

  void take(const capture::DecodedMessage& message) {
    if (!message.hasAddress) {
      problem(message.line, "a START with no whole address after it");
      return;
    }
    const std::string device = numconv::upperHex(message.address, 2);
    if (message.cutOff()) {
      problem(message.line, "a message to " + device + " ends in " +
                                std::to_string(message.trailingBits) + " bits, not a whole byte");
      return;
    }
    BusMessage out;
    out.address = i2c::DeviceAddress::fromByte(message.address).writeByte();
    out.read = message.read();
    out.line = message.line;
    out.readLength = out.read ? message.bytes.size() : 0;
    out.bytes = message.bytes;
    out.note = note(message);
    converter_.message(std::move(out));
  }

  // What the capture says of the acknowledges, when not all came.
  static std::string note(const capture::DecodedMessage& message) {
    if (!message.addressAcknowledged) return "no ACK in the capture";
    if (message.read()) return {};
    const auto missing = std::find(message.acknowledged.begin(), message.acknowledged.end(), false);
    if (missing == message.acknowledged.end()) return {};
    return "byte " + std::to_string(missing - message.acknowledged.begin() + 1) +
           " not acknowledged in the capture";
  }

  void problem(std::size_t line, std::string message) {
    problems_.push_back(Problem{fileName_, line, std::move(message)});
  }

  MessageConverter& converter_;
  const std::string& fileName_;
  const ImportOptions& options_;
  Problems& problems_;
  std::size_t transfers_ = 0;
  std::int64_t previousEndNs_ = 0;
};

class DecoderFeed : public capture::VcdLevelSink {
 public:
  explicit DecoderFeed(capture::I2cDecoder& decoder) : decoder_(decoder) {}
  void levels(std::int64_t timeNs, bool scl, bool sda, std::size_t line) override {
    decoder_.levels(timeNs, scl, sda, line);
  }

 private:
  capture::I2cDecoder& decoder_;
};

std::string summary(const std::string& fileName, const capture::VcdStats& stats,
                    const capture::I2cDecoder& decoder, std::size_t transfers,
                    const ImportOptions& options) {
  std::string text = "decoded from " + fileName + ": " + std::to_string(transfers) +
                     " transfers in " + std::to_string(stats.changes) + " line changes";
  if (decoder.glitches() > 0) {
    text += "; " + std::to_string(decoder.glitches()) + " glitches shorter than " +
            std::to_string(options.glitchNs) + " ns left out";
  }
  if (decoder.strayBits() > 0) {
    text += "; " + std::to_string(decoder.strayBits()) +
            " clock pulses outside any transfer (a bus clear?) left out";
  }
  return text;
}

}  // namespace

ImportResult importVcd(std::string_view text, const std::string& fileName,
                       const ImportOptions& options) {
  ImportResult result;
  ScriptBuilder builder;
  MessageConverter converter(fileName, options, builder, result.problems);
  TransferConverter transfers(converter, fileName, options, result.problems);
  capture::I2cDecoder decoder(transfers, options.glitchNs);
  DecoderFeed feed(decoder);
  capture::VcdStats stats;
  if (const auto error = capture::readVcd(text, options.signals, feed, &stats)) {
    result.failed = true;
    result.problems.push_back(Problem{fileName, error->line, error->message});
    return result;
  }
  decoder.finish();
  converter.finish();
  result.script.statements.push_back(
      Statement::note(summary(fileName, stats, decoder, transfers.transfers(), options)));
  Script body = builder.take();
  std::move(body.statements.begin(), body.statements.end(),
            std::back_inserter(result.script.statements));
  std::stable_sort(result.problems.begin(), result.problems.end(),
                   [](const Problem& a, const Problem& b) { return a.line < b.line; });
  return result;
}

}  // namespace brelvion::scripts
