// The importers on any input: no crash and no exception; every problem names the file and
// a line of it; a script an importer makes reads back as it is; and for the formats that
// can be written, what an import without problems makes exports and imports again to the
// same steps. The first byte chooses the format and the options.

#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "scripts/Formats.h"
#include "scripts/ScriptReader.h"
#include "scripts/ScriptWriter.h"

namespace {

namespace scripts = brelvion::scripts;
using brelvion::fuzz::FuzzInput;

// The longest text an execution reads. Statements are read one line at a time, so a
// kilobyte holds every mix of them; a capture's header alone takes several, and its steps
// are cheaper to read. Longer inputs are not kept, so that the corpus stays fast.
constexpr std::size_t kLongestText = 1024;
constexpr std::size_t kLongestCapture = 8192;

constexpr scripts::Format kFormats[] = {scripts::Format::C, scripts::Format::I2ctransfer,
                                        scripts::Format::Xml, scripts::Format::Vcd,
                                        scripts::Format::I2c};

scripts::ImportOptions chooseOptions(FuzzInput& input, scripts::Format format) {
  scripts::ImportOptions options;
  options.device = static_cast<std::uint8_t>(0x20 + 2 * input.below(4));
  options.skipUnknown = input.flag();
  options.keepPauses = input.flag();
  if (format != scripts::Format::I2c && input.below(4) == 0) {
    options.addressBytes = input.flag() ? 2 : 1;
    options.valueBytes = 1 << input.below(3);
  }
  options.minDelayMs = input.below(3);
  options.glitchNs = input.flag() ? 50 : 0;
  return options;
}

void checkProblems(const scripts::ImportResult& result, std::size_t lines, const char* name) {
  for (const scripts::Problem& problem : result.problems) {
    FUZZ_CHECK(problem.file == name, problem.text());
    FUZZ_CHECK(problem.line <= lines + 1, problem.text() + " of " + std::to_string(lines) + " lines");
  }
}

void checkReadsBack(const scripts::Script& script) {
  const std::string text = scripts::writeScript(script);
  const scripts::ReadResult back = scripts::readScript(text, "imported.i2cs");
  FUZZ_CHECK(back.ok(), "an imported script does not read: " + back.problems[0].text() + "\n" + text);
  FUZZ_CHECK(scripts::sameMeaning(back.script, script), "an imported script reads otherwise:\n" + text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const scripts::Format format = kFormats[input.below(5)];
  const scripts::ImportOptions options = chooseOptions(input, format);
  const std::string text = input.rest();
  if (text.size() > (format == scripts::Format::Vcd ? kLongestCapture : kLongestText)) return -1;
  const char* name = "fuzz.in";
  const scripts::ImportResult first = scripts::importText(format, text, name, options);
  checkProblems(first, brelvion::fuzz::fileLineCount(text), name);
  if (!first.ok()) return 0;
  checkReadsBack(first.script);
  if (!scripts::canExport(format) || !first.problems.empty()) return 0;

  const scripts::ExportResult exported = scripts::exportScript(format, first.script, "fuzz.i2cs");
  if (!exported.ok()) return 0;
  const scripts::ImportResult again = scripts::importText(format, exported.text, name, options);
  FUZZ_CHECK(again.ok() && again.problems.empty(),
             "the export does not import: " +
                 (again.problems.empty() ? std::string("failed") : again.problems[0].text()) +
                 "\n" + exported.text);
  FUZZ_CHECK(scripts::sameMeaning(first.script, again.script),
             "the export imports to other steps:\n" + scripts::writeScript(first.script) +
                 "--- exported ---\n" + exported.text + "--- again ---\n" +
                 scripts::writeScript(again.script));
  return 0;
}
