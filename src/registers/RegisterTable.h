#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "registers/Diff.h"
#include "registers/ReadPlan.h"
#include "registers/RegisterMap.h"
#include "registers/Snapshot.h"

namespace brelvion::registers {

enum class Column { Address, Name, Width, Access, Value, Default, Mark };
inline constexpr int kColumnCount = 7;
inline constexpr const char* kColumnTitles[kColumnCount] = {"Address", "Name",    "Width", "Access",
                                                            "Value",   "Default", "Mark"};

// What is known of one register's value.
struct RegisterState {
  // The value of the latest read that was acknowledged, or read back after a write.
  std::optional<std::uint32_t> value;
  // The value before that read.
  std::optional<std::uint32_t> previous;
  // The latest read of the register was not acknowledged; value is from before it.
  bool readFailed = false;
  // The value a write wanted, while the read back after it showed another.
  std::optional<std::uint32_t> notStuck;
  // What was last written to a write-only register, which is never read.
  std::optional<std::uint32_t> written;
  // Another command wrote the register since it was last read or written here, and the
  // value it wrote when the write covered all of the register's bytes.
  bool writtenElsewhere = false;
  std::optional<std::uint32_t> elsewhereValue;
};

struct Marks {
  bool differsFromDefault = false;
  bool changedByLastRead = false;
  bool notStuck = false;
  bool readFailed = false;
  bool differsInComparison = false;
  bool writtenElsewhere = false;
  bool any() const {
    return differsFromDefault || changedByLastRead || notStuck || readFailed ||
           differsInComparison || writtenElsewhere;
  }
};

// True when the register's name holds text (in any case), or its address in hex starts
// with it ("01" finds 0100 to 01FF; a leading 0x is allowed). Every register matches an
// empty filter.
bool matchesFilter(const Register& reg, int addressBytes, const std::string& filter);

// A hex number typed for a value (or register address) of bytes: up to two digits a byte,
// 0x in front or h behind allowed, blanks around it ignored.
std::optional<std::uint32_t> valueFromText(const std::string& text, int bytes);

// The register map window's table without Qt: the map, what was read and written, which
// rows the filter shows, and the marks of each register.
class RegisterTable {
 public:
  explicit RegisterTable(RegisterMap map);

  const RegisterMap& map() const { return map_; }
  const RegisterState& state(std::size_t index) const { return states_.at(index); }

  // The rows the filter lets through, as register indexes.
  std::size_t rowCount() const { return rows_.size(); }
  std::size_t registerAt(std::size_t row) const { return rows_.at(row); }
  std::optional<std::size_t> rowOf(std::size_t index) const;
  void setFilter(const std::string& filter);
  const std::string& filter() const { return filter_; }

  std::string cellText(std::size_t row, Column column) const;
  Marks marks(std::size_t index) const;
  // "D C !": one letter a mark, and the sentences behind them.
  std::string markText(std::size_t index) const;
  std::string markExplanation(std::size_t index) const;

  // What a read of the run gave; bytes as read (ignored when not acknowledged).
  void applyRead(const ReadRun& run, const std::vector<std::uint8_t>& bytes, bool acknowledged);
  // A write of wanted, and what the read back after it showed (nothing for a write-only
  // register, or when the read back was not acknowledged).
  void applyWrite(std::size_t index, std::uint32_t wanted, std::optional<std::uint32_t> readBack);

  // Bytes another command wrote to the device from register address first on, one
  // register address a byte: the registers they touch are marked until read again. True
  // when they touched any.
  bool applyWriteElsewhere(std::uint32_t first, std::span<const std::uint8_t> bytes);

  // The registers with a value, in address order.
  std::vector<RegisterValue> liveValues() const;
  Snapshot snapshot(const std::string& time, std::optional<std::uint8_t> device) const;

  // Marks the registers the differences name; an empty list clears the marks.
  void setComparison(const std::vector<Difference>& differences);

 private:
  RegisterMap map_;
  std::vector<RegisterState> states_;
  std::vector<bool> compared_;
  std::vector<std::size_t> rows_;
  std::string filter_;
};

}  // namespace brelvion::registers
