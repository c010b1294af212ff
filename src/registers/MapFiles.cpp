#include "registers/MapFiles.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "base/TextFile.h"
#include "base/UserFile.h"
#include "registers/DescriptionReader.h"
#include "registers/RegisterList.h"
#include "registers/SourceText.h"

namespace brelvion::registers {

namespace {

// A register map is a few hundred kilobytes at most.
std::string readMapFile(const std::string& path) {
  return base::readTextFile(path, "Register Map", {16u << 20, "a register map"});
}

bool endsWithCsv(const std::string& path) {
  if (path.size() < 4) return false;
  std::string end = path.substr(path.size() - 4);
  for (char& ch : end) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return end == ".csv";
}

}  // namespace

RegisterMap loadRegisterMap(const std::string& path) {
  const std::string text = readMapFile(path);
  return endsWithCsv(path) ? readRegisterList(text, path) : readDescription(text, path);
}

Snapshot loadSnapshot(const std::string& path) { return readSnapshot(readMapFile(path), path); }

std::string withSnapshotExtension(const std::string& path) {
  if (path.empty() || std::filesystem::path(path).has_extension()) return path;
  return path + ".snap";
}

void saveSnapshot(const std::string& path, const Snapshot& snapshot) {
  base::writeUserFile(path, snapshotText(snapshot), "Register Map");
}

}  // namespace brelvion::registers
