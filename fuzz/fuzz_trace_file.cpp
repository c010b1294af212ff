// The debugger's trace files: any bytes load, split into lines at CR, CR LF and LF exactly
// as a splitter written here does, with every other byte (0x80 to 0xFF and NUL included)
// kept as it is; a saved trace is the trace and CR LF, and loading it again gives the
// trace with one more empty line in front, round after round.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "base/RuntimeError.h"
#include "trace/TraceFile.h"

namespace {

namespace fs = std::filesystem;
using brelvion::base::RuntimeError;
namespace trace = brelvion::trace;

constexpr int kRoundTrips = 3;

const fs::path& scratch() { return brelvion::fuzz::scratchDirectory(); }

std::string contents(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  FUZZ_CHECK(file.good(), "cannot read back " + path.string());
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// The trace a file holds: each of its lines after a CR LF.
std::string expectedTrace(std::string_view content) {
  std::string trace;
  for (const std::string& line : brelvion::fuzz::fileLines(content)) trace += "\r\n" + line;
  return trace;
}

// The bytes that are neither CR nor LF, in order: what no load or save may change.
std::string lineBytes(std::string_view text) {
  std::string bytes;
  for (const char ch : text) {
    if (ch != '\r' && ch != '\n') bytes.push_back(ch);
  }
  return bytes;
}

std::string load(const fs::path& path) {
  try {
    return trace::traceFromFileText(trace::readTraceFile(path.string(), "fuzz"));
  } catch (const RuntimeError& error) {
    brelvion::fuzz::propertyFailed(__FILE__, __LINE__, "load", error.boxText());
  }
}

void save(const fs::path& path, std::string_view trace) {
  try {
    trace::saveTraceFile(path.string(), trace, "fuzz");
  } catch (const RuntimeError& error) {
    brelvion::fuzz::propertyFailed(__FILE__, __LINE__, "save", error.boxText());
  }
}

std::string sizes(const std::string& got, const std::string& wanted) {
  return std::to_string(got.size()) + " bytes for " + std::to_string(wanted.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string content(reinterpret_cast<const char*>(data), size);
  const fs::path path = scratch() / "trace.WSP";
  std::ofstream(path, std::ios::binary | std::ios::trunc) << content;

  FUZZ_CHECK(trace::readTraceFile(path.string(), "fuzz") == content,
             "the file's bytes did not all arrive");
  std::string trace = load(path);
  const std::string wanted = expectedTrace(content);
  FUZZ_CHECK(trace == wanted, "the lines were split otherwise: " + sizes(trace, wanted));
  FUZZ_CHECK(lineBytes(trace) == lineBytes(content), "a byte of a line changed");

  for (int round = 1; round <= kRoundTrips; ++round) {
    const std::string text = trace::traceFileText(trace);
    FUZZ_CHECK(text == trace + "\r\n", "the saved text is not the trace and CR LF");
    save(path, trace);
    FUZZ_CHECK(contents(path) == text, "the file does not hold the saved text");
    const std::string again = load(path);
    FUZZ_CHECK(again == "\r\n" + trace,
               "round " + std::to_string(round) +
                   " did not add one empty line in front: " + sizes(again, "\r\n" + trace));
    trace = again;
  }
  const auto entries = std::distance(fs::directory_iterator(scratch()), fs::directory_iterator());
  FUZZ_CHECK(entries == 1, "files left beside the trace file");
  return 0;
}
