#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "scripts/Formats.h"
#include "scripts/ScriptReader.h"
#include "scripts/ScriptWriter.h"

namespace brelvion::scripts::imports {

inline std::vector<std::string> problemTexts(const Problems& problems) {
  std::vector<std::string> texts;
  for (const Problem& problem : problems) texts.push_back(problem.text());
  return texts;
}

// The script an import made, as text.
inline std::string scriptText(const ImportResult& result) { return writeScript(result.script); }

// A script from text known to be good.
inline Script scriptOf(std::string_view text) {
  ReadResult result = readScript(text, "expected.i2cs");
  return result.script;
}

// Every script an importer makes must read back as it is.
inline bool readsBack(const ImportResult& result) {
  const ReadResult back = readScript(scriptText(result), "imported.i2cs");
  return back.ok() && sameMeaning(back.script, result.script);
}

// import -> export -> import gives the same commands.
inline void expectRoundTrip(Format format, const ImportResult& first, const ImportOptions& options) {
  ASSERT_TRUE(first.ok()) << problemTexts(first.problems)[0];
  const ExportResult exported = exportScript(format, first.script, "sensor.i2cs");
  ASSERT_TRUE(exported.ok()) << exported.problem->text();
  const ImportResult again = importText(format, exported.text, "exported", options);
  ASSERT_TRUE(again.ok()) << problemTexts(again.problems)[0] << "\n" << exported.text;
  EXPECT_TRUE(sameMeaning(first.script, again.script))
      << scriptText(first) << "--- exported ---\n" << exported.text << "--- again ---\n"
      << scriptText(again);
}

}  // namespace brelvion::scripts::imports
