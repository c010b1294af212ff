#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "bus/TransactionRecord.h"
#include "registers/MapActions.h"
#include "registers/ReadPlan.h"
#include "registers/RegisterTable.h"

namespace brelvion::registers {

// What the register map window decides, apart from Qt.

// The window's fields for a plain range of registers.
struct RangeFields {
  std::string device;
  // The register-address and value widths and the byte order chosen.
  i2c::RegisterFormat format;
  std::string first;
  std::string last;
};

// The device's write address from its field: one or two hex digits, bit 0 cleared.
std::optional<std::uint8_t> deviceFromText(const std::string& text);

// The range the fields describe, or why they describe none.
std::variant<RegisterMap, std::string> rangeFromFields(const RangeFields& fields);

// The value a field edit starts from: what was read (or written, for a write-only
// register), else the default, else 0.
std::uint32_t fieldEditBase(const RegisterTable& table, std::size_t index);

// The refresh: one read at a time, so the window's events run between reads, and a pause
// of the refresh period after each pass over the runs.
class RefreshCycle {
 public:
  static constexpr int kMinPeriodMs = 50;
  static constexpr int kMaxPeriodMs = 60000;
  // The longest read of a refresh turn: 32 bytes last about 6 ms on a real port, so the
  // window's events never wait longer than that.
  static constexpr std::size_t kReadBytes = 32;

  void start(std::vector<ReadRun> runs) {
    runs_ = std::move(runs);
    next_ = 0;
  }
  // The next read of the pass, or nothing at its end (the next call starts a new pass).
  std::optional<ReadRun> next();
  bool empty() const { return runs_.empty(); }

 private:
  std::vector<ReadRun> runs_;
  std::size_t next_ = 0;
};

// "base.snap -> live values: 3 differences", "the defaults -> live values: no
// differences": what was, then what is, as the lines of differences show their values.
std::string comparisonTitle(const std::string& left, const std::string& right,
                            std::size_t differences);

// The chip-ID check a read of runs made on its way, when the map's chip-ID register was
// among them: the banner then says what this reading found, a read not acknowledged
// included.
std::optional<ChipIdOutcome> chipIdFromRead(const RegisterTable& table,
                                            const std::vector<ReadRun>& runs);

// A message another command sent: when it wrote register values to device (the register
// address, then at least one byte), the registers it reached are marked in the table.
// True when it marked any.
bool noteWriteElsewhere(RegisterTable& table, std::uint8_t device, const bus::Transaction& message);

// A block of the table's cells, rows and columns inclusive.
struct CellBlock {
  std::size_t firstRow = 0;
  std::size_t lastRow = 0;
  Column firstColumn = Column::Value;
  Column lastColumn = Column::Mark;
};

// The cells to show again after the values changed: Value to Mark of every row, except
// the value cell being edited (editedRow), whose editor keeps what the user typed.
std::vector<CellBlock> changedCells(std::size_t rows, std::optional<std::size_t> editedRow);

// "EXPOSURE (0200)": a register as the window's messages name it.
std::string registerTitle(const RegisterMap& map, const Register& reg);

}  // namespace brelvion::registers
