#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "port/BusAdapter.h"
#include "port/i2cdev/I2cDevSystemCalls.h"

namespace brelvion::port::i2cdev {

// The kernel's limits on one I2C_RDWR call (i2c-dev): messages, and bytes a message.
inline constexpr std::size_t kMaxMessagesPerCall = 42;
inline constexpr std::size_t kMaxMessageBytes = 8192;
// The longest SMBus I2C block read or write.
inline constexpr std::size_t kMaxSmbusBlock = 32;

// A Linux i2c-dev adapter (/dev/i2c-N): a USB bridge, an SoC's controller, the kernel's
// own bit-banging drivers. Opened on open() or at the first transfer, when I2C_FUNCS says
// what it can do:
// - with I2C_FUNC_I2C, each run of messages up to a STOP is one I2C_RDWR call (its
//   messages joined by repeated STARTs). A read longer than kMaxMessageBytes is cut into
//   reads of that length joined by repeated STARTs, and a run of more than
//   kMaxMessagesPerCall messages goes out as several calls; each call is its own trace
//   line, so a split shows. A lone empty write (a probe) is an SMBus quick write where the
//   adapter has one, as i2cdetect sends it.
// - without it, the SMBus calls that do the same job: quick write, receive byte, send
//   byte, write byte data, write word data or I2C block writes for a register write of two
//   or more data bytes (a 16-bit register, a wide value), and a register pointer write
//   followed by a read as read byte
//   data (one byte) or I2C block reads of at most kMaxSmbusBlock bytes (from the register
//   onwards). These put a repeated START between the pointer write and the read whatever
//   the transfer asked for; a transfer no SMBus call does is an error naming it.
// Addresses are the tool's 8-bit ones; the kernel gets the 7-bit address.
class I2cDevAdapter final : public BusAdapter {
 public:
  // calls must outlive the adapter.
  explicit I2cDevAdapter(unsigned number, I2cDevSystemCalls& calls = I2cDevSystemCalls::real());
  ~I2cDevAdapter() override;

  I2cDevAdapter(const I2cDevAdapter&) = delete;
  I2cDevAdapter& operator=(const I2cDevAdapter&) = delete;

  std::string name() const override;
  std::string description() const override;
  void open() override;
  void close() noexcept override;
  i2c::TransferResult transfer(i2c::MessageSpan messages) override;

  // The I2C_FUNCS mask; opens the adapter first.
  unsigned long functionality();
  std::string devicePath() const;

 private:
  // One piece of a message in a driver call: bytes [offset, offset + length) of it.
  struct Piece {
    std::size_t message;
    std::size_t offset;
    std::size_t length;
  };
  using Call = std::vector<Piece>;

  std::vector<Call> planCombinedCalls(i2c::MessageSpan messages) const;
  void combinedTransfer(i2c::MessageSpan messages, i2c::TransferResult& result);
  // Runs one call; false when the bus refused it (its outcome is then in result).
  bool runCombinedCall(i2c::MessageSpan messages, const Call& call,
                       i2c::TransferResult& result);

  void smbusTransfer(i2c::MessageSpan messages, i2c::TransferResult& result);
  std::uint32_t writeSizeFor(i2c::MessageSpan messages) const;
  void smbusRegisterRead(i2c::MessageSpan messages, i2c::TransferResult& result);
  // One SMBus call. wire is what it puts on the bus, for the report and for errors; a
  // read's bytes land in received. The outcome of the call.
  i2c::MessageOutcome smbusCall(std::uint8_t address, std::uint8_t readWrite, std::uint8_t command,
                           std::uint32_t size, std::vector<i2c::I2cMessage> wire,
                           std::vector<std::uint8_t>* received);
  void requireFunction(unsigned long function, const char* callName,
                       i2c::MessageSpan messages) const;
  void selectSlave(std::uint8_t address, const std::string& transfer);

  // Throws the error for a call that failed with errno error, closing the adapter first
  // when it is gone.
  [[noreturn]] void failCall(int error, const std::string& call, const std::string& transfer);

  unsigned number_;
  I2cDevSystemCalls& calls_;
  int fd_ = -1;
  unsigned long functionality_ = 0;
  // The 7-bit address the SMBus calls go to, once set.
  std::optional<std::uint16_t> slave_;
  mutable std::optional<std::string> description_;
};

}  // namespace brelvion::port::i2cdev
