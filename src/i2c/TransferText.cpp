#include "i2c/TransferText.h"

#include <algorithm>

#include "numconv/HexText.h"
#include "i2c/DeviceAddress.h"

namespace brelvion::i2c {

namespace {

void appendBytes(std::string& text, const std::vector<std::uint8_t>& bytes) {
  const std::size_t shown = std::min(bytes.size(), kShownTransferBytes);
  for (std::size_t i = 0; i < shown; ++i) {
    text += ' ';
    numconv::appendUpperHex(text, bytes[i], 2);
  }
  if (shown < bytes.size()) text += " ..";
}

void appendMessage(std::string& text, const I2cMessage& message, const MessageResult* result) {
  if (message.read) {
    text += "R ";
    numconv::appendUpperHex(text, DeviceAddress::fromByte(message.address).readByte(), 2);
    text += " (" + std::to_string(message.readLength) + ")";
    if (result != nullptr) appendBytes(text, result->bytes);
    return;
  }
  text += "W ";
  numconv::appendUpperHex(text, DeviceAddress::fromByte(message.address).writeByte(), 2);
  if (message.bytes.size() > kShownTransferBytes) {
    text += " (" + std::to_string(message.bytes.size()) + ")";
  }
  appendBytes(text, message.bytes);
}

}  // namespace

std::string transferText(MessageSpan messages,
                         const std::vector<MessageResult>& results) {
  std::string text;
  for (std::size_t i = 0; i < messages.size(); ++i) {
    if (i > 0) text += " Sr ";
    appendMessage(text, messages[i], i < results.size() ? &results[i] : nullptr);
  }
  return text;
}

}  // namespace brelvion::i2c
