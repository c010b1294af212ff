// The register map's three readers on any text: the YAML device description, the CSV
// register list and the snapshot. Whatever one accepts is a consistent map or snapshot
// (address order, nothing overlapping, every default, named value and field inside its
// place) and reads back to the same meaning from what its writer writes; whatever it
// refuses is an error 321 naming the file, line and column. No other exception escapes.
//
// The first byte chooses the reader (its value modulo 3); the rest is the file's text.

#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "base/RuntimeError.h"
#include "registers/DescriptionReader.h"
#include "registers/DescriptionWriter.h"
#include "registers/RegisterList.h"
#include "registers/Snapshot.h"

namespace {

namespace reg = brelvion::registers;

constexpr const char* kFile = "input";

void checkRefusal(const brelvion::base::RuntimeError& error) {
  FUZZ_CHECK(error.number() == 321, error.what());
  FUZZ_CHECK(error.description().rfind(std::string(kFile) + ":", 0) == 0, error.description());
}

void checkMap(const reg::RegisterMap& map) {
  const std::uint32_t max = map.maxAddress();
  for (std::size_t i = 0; i < map.registers.size(); ++i) {
    const reg::Register& r = map.registers[i];
    FUZZ_CHECK(r.valueBytes == 1 || r.valueBytes == 2 || r.valueBytes == 4, r.name);
    FUZZ_CHECK(map.format.addressBytes == 0 ? r.address == 0 : r.end() - 1 <= max, r.name);
    if (i > 0) FUZZ_CHECK(map.registers[i - 1].end() <= r.address, r.name);
    if (r.defaultValue) {
      FUZZ_CHECK(*r.defaultValue <= brelvion::i2c::maxValue(r.valueBytes), r.name);
    }
    for (const reg::Field& field : r.fields) {
      FUZZ_CHECK(field.lsb >= 0 && field.lsb <= field.msb && field.msb < 8 * r.valueBytes,
                 field.name);
      for (const reg::NamedValue& named : field.values) {
        FUZZ_CHECK(named.value <= field.mask(), field.name + ": " + named.name);
      }
    }
  }
}

void description(const std::string& text) {
  reg::RegisterMap map;
  try {
    map = reg::readDescription(text, kFile);
  } catch (const brelvion::base::RuntimeError& error) {
    checkRefusal(error);
    return;
  }
  checkMap(map);
  const std::string written = reg::descriptionText(map);
  try {
    FUZZ_CHECK(reg::readDescription(written, kFile) == map, written);
  } catch (const brelvion::base::RuntimeError& error) {
    FUZZ_CHECK(false, std::string(error.what()) + "\n" + written);
  }
}

void registerList(const std::string& text) {
  reg::RegisterMap map;
  try {
    map = reg::readRegisterList(text, kFile);
  } catch (const brelvion::base::RuntimeError& error) {
    checkRefusal(error);
    return;
  }
  checkMap(map);
  const std::string written = reg::registerListText(map);
  try {
    FUZZ_CHECK(reg::readRegisterList(written, kFile) == map, written);
  } catch (const brelvion::base::RuntimeError& error) {
    FUZZ_CHECK(false, std::string(error.what()) + "\n" + written);
  }
}

void snapshot(const std::string& text) {
  reg::Snapshot read;
  try {
    read = reg::readSnapshot(text, kFile);
  } catch (const brelvion::base::RuntimeError& error) {
    checkRefusal(error);
    return;
  }
  for (std::size_t i = 1; i < read.values.size(); ++i) {
    const auto& before = read.values[i - 1];
    FUZZ_CHECK(
        before.address + static_cast<std::uint32_t>(before.valueBytes) <= read.values[i].address,
        text);
  }
  const std::string written = reg::snapshotText(read);
  try {
    FUZZ_CHECK(reg::readSnapshot(written, kFile) == read, written);
  } catch (const brelvion::base::RuntimeError& error) {
    FUZZ_CHECK(false, std::string(error.what()) + "\n" + written);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 3) {
    case 0:
      description(text);
      break;
    case 1:
      registerList(text);
      break;
    default:
      snapshot(text);
      break;
  }
  return 0;
}
