// Transfers through SMBus calls, for adapters without I2C_FUNC_I2C (i2c-stub, many USB
// bridges): each transfer the tool makes is matched to the call that does the same job.
#include <linux/i2c-dev.h>
#include <linux/i2c.h>

#include <algorithm>

#include "i2c/DeviceAddress.h"
#include "i2c/TransferText.h"
#include "port/i2cdev/I2cDevAdapter.h"
#include "port/i2cdev/I2cDevErrors.h"

namespace brelvion::port::i2cdev {

namespace {

i2c::I2cMessage writeOf(std::uint8_t address, std::vector<std::uint8_t> bytes, i2c::AfterMessage after) {
  i2c::I2cMessage message;
  message.address = address;
  message.bytes = std::move(bytes);
  message.after = after;
  return message;
}

i2c::I2cMessage readOf(std::uint8_t address, std::size_t length) {
  i2c::I2cMessage message;
  message.address = address;
  message.read = true;
  message.readLength = length;
  return message;
}

// A register pointer write and a read from the same device after it.
bool isRegisterRead(i2c::MessageSpan messages) {
  return messages.size() == 2 && !messages[0].read && messages[0].bytes.size() == 1 &&
         messages[1].read && messages[1].readLength > 0 &&
         i2c::DeviceAddress::fromByte(messages[0].address) ==
             i2c::DeviceAddress::fromByte(messages[1].address);
}

// The data bytes after the command byte, as the call of size sends them: word data low
// byte first, an I2C block with its length in front.
void fillWriteData(i2c_smbus_data& data, std::uint32_t size, const std::vector<std::uint8_t>& bytes) {
  if (size == I2C_SMBUS_BYTE_DATA) data.byte = bytes[1];
  if (size == I2C_SMBUS_WORD_DATA) data.word = static_cast<__u16>(bytes[1] | (bytes[2] << 8));
  if (size == I2C_SMBUS_I2C_BLOCK_DATA) {
    data.block[0] = static_cast<__u8>(bytes.size() - 1);
    std::copy(bytes.begin() + 1, bytes.end(), data.block + 1);
  }
}

}  // namespace

void I2cDevAdapter::requireFunction(unsigned long function, const char* callName,
                                    i2c::MessageSpan messages) const {
  if ((functionality_ & function) != 0) return;
  throw unsupportedError(name(), std::string("cannot do SMBus ") + callName + ", which " +
                                     i2c::transferText(messages) + " needs (its driver has neither "
                                     "plain I2C transfers nor that call)");
}

void I2cDevAdapter::selectSlave(std::uint8_t address, const std::string& transfer) {
  const auto slave = static_cast<std::uint16_t>(i2c::DeviceAddress::fromByte(address).sevenBit());
  if (slave_ == slave) return;
  // FORCE, as I2C_RDWR ignores which addresses kernel drivers have claimed too.
  const int status = calls_.ioctl(fd_, I2C_SLAVE_FORCE, reinterpret_cast<void*>(
                                                            static_cast<unsigned long>(slave)));
  if (status < 0) failCall(-status, "I2C_SLAVE_FORCE", transfer);
  slave_ = slave;
}

i2c::MessageOutcome I2cDevAdapter::smbusCall(std::uint8_t address, std::uint8_t readWrite,
                                        std::uint8_t command, std::uint32_t size,
                                        std::vector<i2c::I2cMessage> wire,
                                        std::vector<std::uint8_t>* received) {
  const std::string transfer = i2c::transferText(wire);
  selectSlave(address, transfer);
  i2c_smbus_data data{};
  if (readWrite == I2C_SMBUS_WRITE) {
    fillWriteData(data, size, wire[0].bytes);
  } else if (size == I2C_SMBUS_I2C_BLOCK_DATA) {
    data.block[0] = static_cast<__u8>(wire.back().readLength);
  }
  i2c_smbus_ioctl_data arguments{readWrite, command, size,
                                 size == I2C_SMBUS_QUICK ? nullptr : &data};
  const int status = calls_.ioctl(fd_, I2C_SMBUS, &arguments);

  AdapterTransfer done;
  done.call = AdapterCall::Smbus;
  done.messages = std::move(wire);
  done.results.resize(done.messages.size());
  i2c::MessageOutcome outcome = i2c::MessageOutcome::Acknowledged;
  if (status < 0) {
    const auto refused = busOutcomeOfErrno(-status);
    if (!refused) failCall(-status, "I2C_SMBUS", transfer);
    outcome = *refused;
  } else if (readWrite == I2C_SMBUS_READ && received != nullptr) {
    if (size == I2C_SMBUS_I2C_BLOCK_DATA) {
      const std::size_t got = std::min<std::size_t>(data.block[0], done.messages.back().readLength);
      received->assign(data.block + 1, data.block + 1 + got);
    } else {
      received->assign(1, data.byte);
    }
  }
  for (i2c::MessageResult& part : done.results) part.outcome = outcome;
  if (received != nullptr) done.results.back().bytes = *received;
  reportTransfer(done);
  return outcome;
}

void I2cDevAdapter::smbusTransfer(i2c::MessageSpan messages,
                                  i2c::TransferResult& result) {
  if (isRegisterRead(messages)) {
    smbusRegisterRead(messages, result);
    return;
  }
  const i2c::I2cMessage& message = messages[0];
  i2c::MessageResult& outcome = result.messages[0];
  const std::uint8_t address = message.address;
  if (messages.size() == 1 && !message.read && message.bytes.empty()) {
    requireFunction(I2C_FUNC_SMBUS_QUICK, "quick write", messages);
    outcome.outcome = smbusCall(address, I2C_SMBUS_WRITE, 0, I2C_SMBUS_QUICK,
                                {writeOf(address, {}, i2c::AfterMessage::Stop)}, nullptr);
  } else if (messages.size() == 1 && message.read && message.readLength == 1) {
    requireFunction(I2C_FUNC_SMBUS_READ_BYTE, "receive byte", messages);
    outcome.outcome = smbusCall(address, I2C_SMBUS_READ, 0, I2C_SMBUS_BYTE,
                                {readOf(address, 1)}, &outcome.bytes);
  } else if (messages.size() == 1 && !message.read && message.bytes.size() == 1) {
    requireFunction(I2C_FUNC_SMBUS_WRITE_BYTE, "send byte", messages);
    outcome.outcome = smbusCall(address, I2C_SMBUS_WRITE, message.bytes[0], I2C_SMBUS_BYTE,
                                {writeOf(address, message.bytes, i2c::AfterMessage::Stop)}, nullptr);
  } else if (messages.size() == 1 && !message.read && message.bytes.size() >= 2 &&
             message.bytes.size() <= kMaxSmbusBlock + 1) {
    outcome.outcome = smbusCall(address, I2C_SMBUS_WRITE, message.bytes[0],
                                writeSizeFor(messages), {writeOf(address, message.bytes, i2c::AfterMessage::Stop)},
                                nullptr);
  } else {
    throw unsupportedError(name(), "has only SMBus calls (no I2C_FUNC_I2C), and none of them does " +
                                       i2c::transferText(messages));
  }
}

// A register write, the command byte and then one data byte (write byte data), two (write
// word data) or up to kMaxSmbusBlock (an I2C block write), the first call the adapter has
// that sends those bytes; two bytes go as an I2C block write where it has no word data.
std::uint32_t I2cDevAdapter::writeSizeFor(i2c::MessageSpan messages) const {
  const std::size_t data = messages[0].bytes.size() - 1;
  if (data == 1) {
    requireFunction(I2C_FUNC_SMBUS_WRITE_BYTE_DATA, "write byte data", messages);
    return I2C_SMBUS_BYTE_DATA;
  }
  if (data == 2 && (functionality_ & I2C_FUNC_SMBUS_WRITE_WORD_DATA) != 0) {
    return I2C_SMBUS_WORD_DATA;
  }
  requireFunction(I2C_FUNC_SMBUS_WRITE_I2C_BLOCK,
                  data == 2 ? "write word data or I2C block write" : "I2C block write", messages);
  return I2C_SMBUS_I2C_BLOCK_DATA;
}

// Read byte data for one byte; else I2C block reads from the register onwards (or read
// byte data for each register where the adapter has no block read). The first call that
// is refused ends the read with the bytes received before it.
void I2cDevAdapter::smbusRegisterRead(i2c::MessageSpan messages,
                                      i2c::TransferResult& result) {
  const std::uint8_t writeAddress = messages[0].address;
  const std::uint8_t readAddress = messages[1].address;
  const std::size_t length = messages[1].readLength;
  const bool blocks = length > 1 && (functionality_ & I2C_FUNC_SMBUS_READ_I2C_BLOCK) != 0;
  if (!blocks) requireFunction(I2C_FUNC_SMBUS_READ_BYTE_DATA, "read byte data", messages);
  const std::size_t step = blocks ? kMaxSmbusBlock : 1;

  i2c::MessageResult& pointer = result.messages[0];
  i2c::MessageResult& read = result.messages[1];
  std::size_t offset = 0;
  while (offset < length) {
    const std::size_t piece = std::min(step, length - offset);
    const auto command = static_cast<std::uint8_t>(messages[0].bytes[0] + offset);
    std::vector<std::uint8_t> received;
    const i2c::MessageOutcome outcome = smbusCall(
        writeAddress, I2C_SMBUS_READ, command, blocks ? I2C_SMBUS_I2C_BLOCK_DATA : I2C_SMBUS_BYTE_DATA,
        {writeOf(writeAddress, {command}, i2c::AfterMessage::RepeatedStart), readOf(readAddress, piece)},
        &received);
    if (offset == 0) pointer.outcome = outcome;
    read.outcome = outcome;
    read.bytes.insert(read.bytes.end(), received.begin(), received.end());
    if (outcome != i2c::MessageOutcome::Acknowledged || received.empty()) return;
    offset += received.size();
  }
}

}  // namespace brelvion::port::i2cdev
