#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the C importer reads of a source file: its lines without comments, and the fields
// of register-table rows.
namespace brelvion::scripts::csource {

// A line of C with its comments taken out (each replaced by a blank) and their texts.
struct CodeLine {
  std::string code;
  std::string comment;
  std::size_t number = 0;
};

// The lines of text; a /* */ comment may span lines, and each line it touches gets its part.
std::vector<CodeLine> codeLines(std::string_view text);

// One field of a row: a number (with the hex digits it was written with, 0 for decimal or
// octal), CCI_REGn(number) or CCI_REGn_LE(number), or a name.
struct Field {
  enum class Kind { Number, Cci, Name };
  Kind kind = Kind::Number;
  std::uint64_t number = 0;
  unsigned hexDigits = 0;
  unsigned cciBits = 0;
  bool littleEndian = false;
  std::string name;
  std::string text;
};

// The rows of a line: each "{...}" group split at its top-level commas, designators
// (".reg =") dropped. Rows are separated by commas and blanks; nothing else may stand
// between them. Nothing when the line holds anything else; *why says what.
std::optional<std::vector<std::vector<std::string>>> rowsOf(std::string_view code, std::string* why);

// A field's text read; nothing when it is none of the forms.
std::optional<Field> parseField(std::string_view text);

// The table name of a declaration line "... name[] = {", with the text after its "{".
struct Declaration {
  std::string name;
  std::string rest;
};
std::optional<Declaration> declarationOf(std::string_view code);

}  // namespace brelvion::scripts::csource
