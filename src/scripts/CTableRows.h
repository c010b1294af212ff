#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "i2c/RegisterFormat.h"
#include "scripts/CSource.h"
#include "scripts/Formats.h"

// The rows of a C register table as the importer holds them, which of them are markers,
// and the widths a table's rows are written with.
namespace brelvion::scripts::ctable {

using csource::Field;

// A row of a table as read: a write, a masked write, or a delay or end marker.
struct Row {
  enum class Kind { Write, Modify, Delay, End };
  Kind kind = Kind::Write;
  std::size_t line = 0;
  Field reg;
  Field value;
  std::uint64_t mask = 0;
  // The wait after the row (a delay row: its wait).
  std::uint64_t delayMs = 0;
  std::string comment;
  // Which table of the file holds it, counted by declarations.
  std::size_t table = 0;
  // Reported while the widths were settled, and not written.
  bool leftOut = false;
};

// The names drivers give their marker rows, whole: a register's name may hold END, NULL,
// DELAY or WAIT anywhere (SIM16_REG_X_ADDR_END, SIM16_REG_HS_DELAY) and is no marker.
struct MarkerName {
  std::string_view name;
  Row::Kind kind;
  bool microseconds;
  // The table's own sentinel, named after its driver: OV5693_TABLE_END.
  bool afterPrefix;
};

// The marker a row's name is, or nullptr when it names none.
const MarkerName* markerNamed(std::string_view name);

// The widths the table does not give: registers of 16 bits where one is above FFh or is
// written with three or more hex digits; values likewise of 16 or 32 bits. Values go most
// significant byte first, as a script's do.
using TableWidths = i2c::RegisterFormat;

// Settles the widths of one table's rows (its writes, with a width a script has), and
// reports into problems, marking them left out, the rows whose values disagree with the
// rest of the table where the options do not settle the width.
class WidthSettler {
 public:
  WidthSettler(const std::string& fileName, Problems& problems)
      : fileName_(fileName), problems_(problems) {}

  TableWidths settle(const std::vector<Row*>& rows, const ImportOptions& options);

 private:
  unsigned valueWidth(const std::vector<Row*>& rows);
  void report(const std::vector<Row*>& rows, unsigned bits, std::size_t others, unsigned otherBits);

  const std::string& fileName_;
  Problems& problems_;
};

}  // namespace brelvion::scripts::ctable
