// brelvion-readme IN OUT: writes IN to OUT with each marker line replaced by the part of the
// companion's help it names. A marker missing from IN is an error, so that a chapter edited
// by hand cannot silently lose what --help says.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "CliArguments.h"
#include "base/RuntimeError.h"
#include "base/UserFile.h"

namespace {

namespace cli = brelvion::apps::cli;

struct Marker {
  const char* line;
  std::string (*text)();
};

std::string synopsis() { return cli::synopsisText("    "); }

const Marker kMarkers[] = {
    {"@COMPANION_SYNOPSIS@", synopsis},
    {"@COMPANION_OPTIONS@", cli::optionsText},
    {"@COMPANION_EXIT_STATUS@", cli::exitStatusText},
};

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: brelvion-readme IN OUT\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "brelvion-readme: cannot read %s\n", argv[1]);
    return 1;
  }
  std::string result;
  bool found[std::size(kMarkers)] = {};
  for (std::string line; std::getline(in, line);) {
    bool replaced = false;
    for (std::size_t i = 0; i < std::size(kMarkers); ++i) {
      if (line != kMarkers[i].line) continue;
      result += kMarkers[i].text();
      found[i] = replaced = true;
    }
    if (!replaced) result += line + '\n';
  }
  for (std::size_t i = 0; i < std::size(kMarkers); ++i) {
    if (!found[i]) {
      std::fprintf(stderr, "brelvion-readme: %s has no line %s\n", argv[1], kMarkers[i].line);
      return 1;
    }
  }
  try {
    brelvion::base::writeUserFile(argv[2], result, "brelvion-readme");
  } catch (const brelvion::base::RuntimeError& error) {
    std::fprintf(stderr, "brelvion-readme: %s\n", error.description().c_str());
    return 1;
  }
  return 0;
}
