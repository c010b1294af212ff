#include "registers/Diff.h"

namespace brelvion::registers {

std::vector<Difference> compareValues(const std::vector<RegisterValue>& left,
                                      const std::vector<RegisterValue>& right,
                                      CompareScope scope) {
  std::vector<Difference> differences;
  std::size_t l = 0;
  std::size_t r = 0;
  const bool everything = scope == CompareScope::Everything;
  auto only = [&](const RegisterValue& value, bool onLeft) {
    if (!everything) return;
    Difference difference{value.address, value.name, value.valueBytes, {}, {}};
    (onLeft ? difference.left : difference.right) = value.value;
    differences.push_back(difference);
  };
  while (l < left.size() || r < right.size()) {
    if (r == right.size() || (l < left.size() && left[l].address < right[r].address)) {
      only(left[l++], true);
    } else if (l == left.size() || right[r].address < left[l].address) {
      only(right[r++], false);
    } else {
      const RegisterValue& a = left[l++];
      const RegisterValue& b = right[r++];
      if (a.value != b.value || a.valueBytes != b.valueBytes) {
        Difference difference{a.address, a.name.empty() ? b.name : a.name, a.valueBytes, a.value,
                              b.value};
        if (b.valueBytes != a.valueBytes) difference.rightValueBytes = b.valueBytes;
        differences.push_back(difference);
      }
    }
  }
  return differences;
}

std::vector<RegisterValue> defaultValues(const RegisterMap& map) {
  std::vector<RegisterValue> values;
  for (const Register& reg : map.registers) {
    if (reg.defaultValue) {
      values.push_back({reg.address, reg.name, reg.valueBytes, *reg.defaultValue});
    }
  }
  return values;
}

std::string differenceText(const Difference& difference, int addressBytes) {
  auto shown = [](const std::optional<std::uint32_t>& value, int valueBytes) {
    return value ? valueHex(*value, valueBytes) : std::string("(none)");
  };
  std::string text = addressHex(difference.address, addressBytes);
  if (!difference.name.empty()) text += " " + difference.name;
  return text + ": " + shown(difference.left, difference.valueBytes) + " -> " +
         shown(difference.right, difference.rightValueBytes.value_or(difference.valueBytes));
}

}  // namespace brelvion::registers
