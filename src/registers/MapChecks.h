#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "registers/RegisterMap.h"

namespace brelvion::registers {

// What the readers of descriptions and register lists check, apart from where the file
// says it: each reader puts the file, line and column in front.

// Two registers that cannot both be in one map; `later` comes after `earlier` as listed.
struct Clash {
  enum class Kind { SameName, SameAddress, Overlap };
  Kind kind;
  std::size_t earlier;
  std::size_t later;
};

// The first clash in listing order: the same name (in any case), the same address, or
// bytes two registers share.
std::optional<Clash> findClash(const std::vector<Register>& registers);
// "register name MODE_SELECT is used twice (first at line 8)", and the like.
std::string clashText(const Clash& clash, const std::vector<Register>& registers, int addressBytes,
                      int earlierLine);

// Why a width is not one a register can have (8, 16 or 32 bits).
std::optional<std::string> widthProblem(std::uint32_t bits);
// Why the register does not fit register addresses of addressBytes, or nothing.
std::optional<std::string> placeProblem(const Register& reg, int addressBytes);
// Why a value does not fit a register's or a field's bits ("default 1FFh is wider than 8
// bits").
std::optional<std::string> valueProblem(const char* what, std::uint32_t value, int bits);

// Why the field's bits cannot be in a register of valueBytes (outside it, or msb below
// lsb), or nothing.
std::optional<std::string> fieldBitsProblem(const Field& field, int valueBytes);
// Why the field's named values do not fit it (wider than the field, a name used twice).
std::optional<std::string> namedValuesProblem(const Field& field);
// The first field (by listing order) that shares bits or its name with an earlier one,
// with what is wrong.
struct FieldClash {
  std::size_t later;
  std::string what;
};
std::optional<FieldClash> findFieldClash(const std::vector<Field>& fields);

// The registers in address order.
void sortByAddress(std::vector<Register>& registers);

}  // namespace brelvion::registers
