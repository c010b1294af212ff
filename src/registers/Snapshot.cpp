#include "registers/Snapshot.h"

#include <algorithm>
#include <ctime>
#include <set>

#include "i2c/DeviceAddress.h"
#include "registers/MapChecks.h"
#include "registers/SourceText.h"

namespace brelvion::registers {

namespace {

constexpr std::string_view kMagic = "brelvion-register-snapshot 1";

struct Token {
  std::string text;
  int column = 1;
};

std::vector<Token> tokens(const std::string& line) {
  std::vector<Token> found;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t') {
      ++i;
      continue;
    }
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    found.push_back({line.substr(start, i - start), static_cast<int>(start) + 1});
  }
  return found;
}

class SnapshotParser {
 public:
  SnapshotParser(const std::string& file) : file_(file) {}
  Snapshot parse(const std::string& text);

 private:
  [[noreturn]] void fail(int line, int column, const std::string& what) const {
    throw contentError(file_, {line, column}, what);
  }
  void headerLine(const std::string& line, int number, Snapshot& snapshot);
  RegisterValue valueLine(const std::vector<Token>& parts, int number, const Snapshot& snapshot) const;

  const std::string& file_;
  std::set<std::string> keysSeen_;
};

void SnapshotParser::headerLine(const std::string& line, int number, Snapshot& snapshot) {
  const std::size_t colon = line.find(':');
  if (colon == std::string::npos) fail(number, 1, "a header line is 'key: value'");
  const std::string key = line.substr(0, colon);
  std::string value = line.substr(colon + 1);
  if (!value.empty() && value[0] == ' ') value.erase(0, 1);
  const int valueColumn = static_cast<int>(line.size() - value.size()) + 1;
  if (!keysSeen_.insert(key).second) fail(number, 1, "header key '" + key + "' is given twice");
  if (!plainText(value, false)) fail(number, valueColumn, key + " holds a control character or text that is not UTF-8");
  if (key == "device") {
    snapshot.device = value;
  } else if (key == "time") {
    snapshot.time = value;
  } else if (key == "i2c-address") {
    const auto address = value.size() == 2
                             ? i2c::DeviceAddress::parse(value, i2c::AddressForm::EightBit)
                             : std::nullopt;
    if (!address || address->readBit) {
      fail(number, valueColumn, "i2c-address is an even write address of two hex digits, not '" + value + "'");
    }
    snapshot.deviceAddress = address->device.writeByte();
  } else if (key == "register-bits") {
    if (value != "0" && value != "8" && value != "16") {
      fail(number, valueColumn, "register-bits is 0, 8 or 16, not '" + value + "'");
    }
    snapshot.addressBytes = std::stoi(value) / 8;
  } else if (key == "byte-order") {
    if (value != "big" && value != "little") {
      fail(number, valueColumn, "byte-order is big or little, not '" + value + "'");
    }
    snapshot.order = value == "big" ? i2c::ByteOrder::BigEndian : i2c::ByteOrder::LittleEndian;
  } else {
    fail(number, 1, "unknown header key '" + key +
                        "' (known keys: device, i2c-address, register-bits, byte-order, time)");
  }
}

RegisterValue SnapshotParser::valueLine(const std::vector<Token>& parts, int number,
                                        const Snapshot& snapshot) const {
  if (parts.size() != 4) {
    fail(number, parts.size() > 4 ? parts[4].column : 1,
         "a register line is ADDRESS NAME WIDTH VALUE, e.g. 0100 MODE_SELECT 8 01");
  }
  RegisterValue entry;
  const auto address = parts[0].text.size() <= 4 ? hexFromText(parts[0].text) : std::nullopt;
  if (!address) fail(number, parts[0].column, "the address is up to four hex digits, not '" + parts[0].text + "'");
  entry.address = *address;
  if (parts[1].text != "-") {
    if (!validName(parts[1].text)) {
      fail(number, parts[1].column, "'" + parts[1].text + "' is not a register name (or - for none)");
    }
    entry.name = parts[1].text;
  }
  const std::string& width = parts[2].text;
  if (width != "8" && width != "16" && width != "32") {
    fail(number, parts[2].column, "a register is 8, 16 or 32 bits wide, not '" + width + "'");
  }
  entry.valueBytes = std::stoi(width) / 8;
  const auto value = static_cast<int>(parts[3].text.size()) <= entry.valueBytes * 2
                         ? hexFromText(parts[3].text)
                         : std::nullopt;
  if (!value) {
    fail(number, parts[3].column,
         "a " + width + "-bit value is up to " + std::to_string(entry.valueBytes * 2) +
             " hex digits, not '" + parts[3].text + "'");
  }
  entry.value = *value;
  Register place;
  place.address = entry.address;
  place.valueBytes = entry.valueBytes;
  if (auto problem = placeProblem(place, snapshot.addressBytes)) {
    fail(number, parts[0].column, *problem);
  }
  return entry;
}

Snapshot SnapshotParser::parse(const std::string& text) {
  Snapshot snapshot;
  std::vector<Register> places;
  std::vector<int> lines;
  bool header = true;
  int number = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    start = end + 1;
    ++number;
    if (number == 1) {
      if (line != kMagic) fail(1, 1, "not a register snapshot (its first line is not '" + std::string(kMagic) + "')");
      continue;
    }
    if (!line.empty() && line[0] == '#') continue;
    if (header) {
      if (line.empty()) {
        header = false;
      } else {
        headerLine(line, number, snapshot);
      }
      continue;
    }
    const std::vector<Token> parts = tokens(line);
    if (parts.empty()) continue;
    snapshot.values.push_back(valueLine(parts, number, snapshot));
    Register place;
    place.name = snapshot.values.back().name;
    place.address = snapshot.values.back().address;
    place.valueBytes = snapshot.values.back().valueBytes;
    places.push_back(place);
    lines.push_back(number);
  }
  if (number == 0) fail(1, 1, "the snapshot is empty");
  if (const auto clash = findClash(places)) {
    fail(lines[clash->later], 1,
         clashText(*clash, places, snapshot.addressBytes, lines[clash->earlier]));
  }
  std::stable_sort(snapshot.values.begin(), snapshot.values.end(),
                   [](const RegisterValue& a, const RegisterValue& b) { return a.address < b.address; });
  return snapshot;
}

}  // namespace

std::string snapshotText(const Snapshot& snapshot) {
  std::string text(kMagic);
  text += "\ndevice: " + snapshot.device + "\n";
  if (snapshot.deviceAddress) text += "i2c-address: " + valueHex(*snapshot.deviceAddress, 1) + "\n";
  text += "register-bits: " + std::to_string(8 * snapshot.addressBytes) + "\n";
  text += std::string("byte-order: ") +
          (snapshot.order == i2c::ByteOrder::BigEndian ? "big" : "little") + "\n";
  text += "time: " + snapshot.time + "\n\n";
  for (const RegisterValue& entry : snapshot.values) {
    text += addressHex(entry.address, snapshot.addressBytes) + " " +
            (entry.name.empty() ? "-" : entry.name) + " " + std::to_string(8 * entry.valueBytes) +
            " " + valueHex(entry.value, entry.valueBytes) + "\n";
  }
  return text;
}

Snapshot readSnapshot(const std::string& text, const std::string& file) {
  return SnapshotParser(file).parse(text);
}

std::string snapshotTime(std::chrono::system_clock::time_point when) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[64];
  const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S %z", &local);
  return std::string(text, length);
}

}  // namespace brelvion::registers
