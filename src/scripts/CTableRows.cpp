#include "scripts/CTableRows.h"

#include <algorithm>
#include <array>

namespace brelvion::scripts::ctable {

namespace {

std::string upperCase(std::string_view text) {
  std::string upper(text);
  for (char& ch : upper) {
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  }
  return upper;
}

constexpr std::array<MarkerName, 10> kMarkerNames{{
    {"REG_NULL", Row::Kind::End, false, false},
    {"REG_END", Row::Kind::End, false, false},
    {"REG_TERM", Row::Kind::End, false, false},
    {"REG_DELAY", Row::Kind::Delay, false, false},
    {"REG_DELAY_MS", Row::Kind::Delay, false, false},
    {"REG_DELAY_US", Row::Kind::Delay, true, false},
    {"REG_SLEEP", Row::Kind::Delay, false, false},
    {"TABLE_END", Row::Kind::End, false, true},
    {"TABLE_WAIT_MS", Row::Kind::Delay, false, true},
    {"TABLE_WAIT_US", Row::Kind::Delay, true, true},
}};

}  // namespace

const MarkerName* markerNamed(std::string_view name) {
  const std::string upper = upperCase(name);
  for (const MarkerName& marker : kMarkerNames) {
    if (upper == marker.name) return &marker;
    if (marker.afterPrefix && upper.size() > marker.name.size() + 1 &&
        upper.ends_with(marker.name) && upper[upper.size() - marker.name.size() - 1] == '_') {
      return &marker;
    }
  }
  return nullptr;
}

namespace {

unsigned widthOf(const Field& field, std::uint64_t also = 0) {
  const std::uint64_t largest = std::max(field.number, also);
  if (largest > 0xFFFF || field.hexDigits > 4) return 32;
  if (largest > 0xFF || field.hexDigits > 2) return 16;
  return 8;
}

}  // namespace

TableWidths WidthSettler::settle(const std::vector<Row*>& rows, const ImportOptions& options) {
  // The widest register literal, in bits as widthOf reads the table's text.
  unsigned widest = 8;
  for (const Row* row : rows) widest = std::max(widest, std::min(widthOf(row->reg), 16u));
  TableWidths widths;
  widths.addressBytes = options.addressBytes.value_or(static_cast<int>(widest / 8));
  // Only without the option: settling reports the rows of the less common width.
  widths.valueBytes =
      options.valueBytes ? *options.valueBytes : static_cast<int>(valueWidth(rows) / 8);
  return widths;
}

// One width for the values of the table's plain rows. A decimal value fits any width it is
// small enough for; a hex literal says its width by its digits ({0x0204, 0x02} is an 8-bit
// write). When the literals disagree, writing all at the wider width would write registers
// the table never named: the rows of the less common width are reported instead.
unsigned WidthSettler::valueWidth(const std::vector<Row*>& rows) {
  constexpr std::array<unsigned, 3> kWidths{8, 16, 32};
  std::array<std::vector<Row*>, 3> byWidth;
  unsigned widest = 8;
  for (Row* row : rows) {
    if (row->reg.kind == Field::Kind::Cci) continue;
    const unsigned bits = widthOf(row->value, row->mask);
    widest = std::max(widest, bits);
    const auto at =
        static_cast<std::size_t>(std::find(kWidths.begin(), kWidths.end(), bits) - kWidths.begin());
    if (row->value.hexDigits > 0 || bits > 8) byWidth[at].push_back(row);
  }
  const auto stated = std::count_if(byWidth.begin(), byWidth.end(),
                                    [](const std::vector<Row*>& group) { return !group.empty(); });
  if (stated < 2) return widest;
  std::size_t most = 0;
  for (std::size_t i = 1; i < byWidth.size(); ++i) {
    if (byWidth[i].size() > byWidth[most].size()) most = i;
  }
  for (std::size_t i = 0; i < byWidth.size(); ++i) {
    if (i != most) report(byWidth[i], kWidths[i], byWidth[most].size(), kWidths[most]);
  }
  return kWidths[most];
}

void WidthSettler::report(const std::vector<Row*>& rows, unsigned bits, std::size_t others,
                          unsigned otherBits) {
  for (Row* row : rows) {
    row->leftOut = true;
    problems_.push_back(Problem{fileName_, row->line,
                                "the value " + row->value.text + " is " + std::to_string(bits) +
                                    " bits where " + std::to_string(others) + " other row" +
                                    (others == 1 ? "" : "s") + " of its table " +
                                    (others == 1 ? "has " : "have ") + std::to_string(otherBits) +
                                    ": --value-bits says which width the table writes"});
  }
}

}  // namespace brelvion::scripts::ctable
