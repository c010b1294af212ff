// brelvion-readme OUT README PAGE...: writes the help document readme.txt, made of the
// README's opening paragraphs and the user guide's pages as numbered chapters, in plain
// text, with each marker comment replaced by the part of the companion's help it names.
// A marker no page has is an error, so that a page edited by hand cannot silently lose
// what --help says.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "CliArguments.h"
#include "MarkdownText.h"
#include "base/RuntimeError.h"
#include "base/UserFile.h"

namespace {

namespace cli = brelvion::apps::cli;
namespace docgen = brelvion::docgen;

std::string readText(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(std::string("cannot read ") + path + ": " + std::strerror(errno));
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<docgen::Insert> companionHelp() {
  return {
      {"@COMPANION_SYNOPSIS@", cli::synopsisText("    ")},
      {"@COMPANION_OPTIONS@", "Options:\n" + cli::optionsText()},
      {"@COMPANION_EXIT_STATUS@", "Exit status:\n" + cli::exitStatusText()},
  };
}

std::string helpDocument(int argc, char* argv[]) {
  std::string text = docgen::openingText(readText(argv[2]));
  std::vector<docgen::Insert> inserts = companionHelp();
  for (int page = 3; page < argc; ++page) {
    const std::string markdown = readText(argv[page]);
    try {
      text += "\n\n" + docgen::chapterText(markdown, page - 2, inserts);
    } catch (const std::runtime_error& error) {
      throw std::runtime_error(std::string(argv[page]) + ": " + error.what());
    }
  }
  for (const docgen::Insert& insert : inserts) {
    if (!insert.used) throw std::runtime_error("no page has the marker " + insert.marker);
  }
  return text;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: brelvion-readme OUT README PAGE...\n");
    return 2;
  }
  try {
    brelvion::base::writeUserFile(argv[1], helpDocument(argc, argv), "brelvion-readme");
  } catch (const brelvion::base::RuntimeError& error) {
    std::fprintf(stderr, "brelvion-readme: %s\n", error.description().c_str());
    return 1;
  } catch (const std::runtime_error& error) {
    std::fprintf(stderr, "brelvion-readme: %s\n", error.what());
    return 1;
  }
  return 0;
}
