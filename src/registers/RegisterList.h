#pragma once

#include <string>

#include "registers/RegisterMap.h"

namespace brelvion::registers {

// A register list as spreadsheets export it (CSV): one register a row, its cells address,
// name, width, access, default and description, separated by commas (or semicolons or
// tabs, as the first row shows). Quoted cells may hold separators, "" and line breaks. A
// first row whose first cell is "address" is a header; blank rows and rows whose first cell
// starts with # are left out. Width (8, 16, 32), access (rw, ro, wo), default and
// description may be empty: 8 bits, read and write, no default, no text. Numbers are
// written as in descriptions: 0x3000 or 3000h in hex, plain digits in decimal.
//
// The map is named after the file, has no device address, 16-bit register addresses when
// a register lies above FFh (8-bit ones otherwise) and 8-bit values. Mistakes are errors
// 321 naming file, line and column, as for descriptions.
RegisterMap readRegisterList(const std::string& text, const std::string& file);

// The map's registers as a list readRegisterList reads back to the same registers.
std::string registerListText(const RegisterMap& map);

}  // namespace brelvion::registers
