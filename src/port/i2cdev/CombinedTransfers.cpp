// Transfers through I2C_RDWR, for adapters with I2C_FUNC_I2C.
#include <linux/i2c-dev.h>
#include <linux/i2c.h>

#include "i2c/DeviceAddress.h"
#include "i2c/TransferText.h"
#include "port/i2cdev/I2cDevAdapter.h"
#include "port/i2cdev/I2cDevErrors.h"

namespace brelvion::port::i2cdev {

namespace {

std::size_t messageLength(const i2c::I2cMessage& message) {
  return message.read ? message.readLength : message.bytes.size();
}

}  // namespace

std::vector<I2cDevAdapter::Call> I2cDevAdapter::planCombinedCalls(
    i2c::MessageSpan messages) const {
  std::vector<Call> calls(1);
  for (std::size_t i = 0; i < messages.size(); ++i) {
    const i2c::I2cMessage& message = messages[i];
    if (!message.read && message.bytes.size() > kMaxMessageBytes) {
      throw unsupportedError(name(), "cannot write more than " + std::to_string(kMaxMessageBytes) +
                                         " bytes in one message (" + i2c::transferText({message}) + ")");
    }
    // A read of nothing still goes out, as the address alone.
    const std::size_t length = messageLength(message);
    std::size_t offset = 0;
    do {
      if (calls.back().size() == kMaxMessagesPerCall) calls.emplace_back();
      const std::size_t piece = message.read ? std::min(length - offset, kMaxMessageBytes) : length;
      calls.back().push_back({i, offset, piece});
      offset += piece;
    } while (offset < length);
    const bool last = i + 1 == messages.size();
    if (!last && message.after == i2c::AfterMessage::Stop) calls.emplace_back();
  }
  return calls;
}

void I2cDevAdapter::combinedTransfer(i2c::MessageSpan messages,
                                     i2c::TransferResult& result) {
  for (const Call& call : planCombinedCalls(messages)) {
    if (!runCombinedCall(messages, call, result)) return;
  }
}

bool I2cDevAdapter::runCombinedCall(i2c::MessageSpan messages, const Call& call,
                                    i2c::TransferResult& result) {
  std::vector<i2c::I2cMessage> wire;
  std::vector<std::vector<std::uint8_t>> buffers;
  std::vector<i2c_msg> kernelMessages;
  for (const Piece& piece : call) {
    const i2c::I2cMessage& message = messages[piece.message];
    i2c::I2cMessage part = message;
    part.after = i2c::AfterMessage::RepeatedStart;
    if (message.read) {
      part.readLength = piece.length;
      buffers.emplace_back(piece.length);
    } else {
      buffers.push_back(message.bytes);
    }
    wire.push_back(std::move(part));
  }
  for (std::size_t k = 0; k < call.size(); ++k) {
    const i2c::I2cMessage& message = messages[call[k].message];
    kernelMessages.push_back(
        i2c_msg{static_cast<__u16>(i2c::DeviceAddress::fromByte(message.address).sevenBit()),
                static_cast<__u16>(message.read ? I2C_M_RD : 0),
                static_cast<__u16>(buffers[k].size()), buffers[k].data()});
  }
  i2c_rdwr_ioctl_data data{kernelMessages.data(), static_cast<__u32>(kernelMessages.size())};
  const int status = calls_.ioctl(fd_, I2C_RDWR, &data);

  AdapterTransfer done;
  done.call = AdapterCall::Combined;
  done.messages = wire;
  done.results.resize(call.size());
  std::optional<i2c::MessageOutcome> refused;
  if (status < 0) {
    refused = busOutcomeOfErrno(-status);
    if (!refused) failCall(-status, "I2C_RDWR", i2c::transferText(wire));
  }
  for (std::size_t k = 0; k < call.size(); ++k) {
    const Piece& piece = call[k];
    i2c::MessageResult& whole = result.messages[piece.message];
    i2c::MessageResult& part = done.results[k];
    part.outcome = refused.value_or(i2c::MessageOutcome::Acknowledged);
    if (!refused && wire[k].read) {
      part.bytes = buffers[k];
      whole.bytes.insert(whole.bytes.end(), part.bytes.begin(), part.bytes.end());
    }
    whole.outcome = part.outcome;
  }
  reportTransfer(done);
  return !refused;
}

}  // namespace brelvion::port::i2cdev
