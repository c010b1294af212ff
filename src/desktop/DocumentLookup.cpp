#include "desktop/DocumentLookup.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace brelvion::desktop {

namespace {

namespace fs = std::filesystem;

std::string& programDirectory() {
  static std::string directory;
  return directory;
}

bool isFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

}  // namespace

void setProgramDirectory(const std::string& directory) { programDirectory() = directory; }

std::optional<std::string> findDocument(const std::string& name) {
  if (name.empty()) return std::nullopt;
  const fs::path path(name);
  if (path.is_absolute()) return isFile(path) ? std::optional(name) : std::nullopt;
  if (isFile(path)) return name;
  if (programDirectory().empty()) return std::nullopt;
  const fs::path program(programDirectory());
  const std::vector<fs::path> places{program, program / "docs",
                                     program / ".." / "share" / "doc" / "brelvion-i2c"};
  for (const fs::path& place : places) {
    if (isFile(place / path)) return (place / path).lexically_normal().string();
  }
  return std::nullopt;
}

}  // namespace brelvion::desktop
