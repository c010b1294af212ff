// Bring-up scripts read, written back and read again: any bytes are read without a crash,
// every problem names a line of the text, in order; a script read without problems is
// written as text that reads back to the same steps, and that text is the writer's own
// (writing what was read from it gives it again).

#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "scripts/ScriptReader.h"
#include "scripts/ScriptWriter.h"

namespace {

namespace scripts = brelvion::scripts;

void checkProblems(const scripts::ReadResult& result, std::size_t lines) {
  std::size_t previous = 0;
  for (const scripts::Problem& problem : result.problems) {
    FUZZ_CHECK(problem.file == "fuzz.i2cs", problem.text());
    FUZZ_CHECK(problem.line >= 1 && problem.line <= lines,
               "line " + std::to_string(problem.line) + " of " + std::to_string(lines));
    FUZZ_CHECK(problem.line >= previous, "problems out of line order: " + problem.text());
    FUZZ_CHECK(problem.text().rfind("fuzz.i2cs:" + std::to_string(problem.line) + ": ", 0) == 0,
               problem.text());
    previous = problem.line;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const scripts::ReadResult first = scripts::readScript(text, "fuzz.i2cs");
  checkProblems(first, brelvion::fuzz::fileLineCount(text));
  if (!first.ok()) return 0;

  const std::string written = scripts::writeScript(first.script);
  const scripts::ReadResult second = scripts::readScript(written, "fuzz.i2cs");
  FUZZ_CHECK(second.ok(), "the written script does not read back: " + second.problems[0].text() +
                              "\n" + written);
  FUZZ_CHECK(scripts::sameMeaning(first.script, second.script),
             "the written script means something else:\n" + written);
  FUZZ_CHECK(scripts::writeScript(second.script) == written,
             "writing the script read back gives another text:\n" + written);
  return 0;
}
