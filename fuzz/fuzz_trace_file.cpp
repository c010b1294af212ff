// The debugger's trace files: any bytes load, split into lines at CR, CR LF and LF exactly
// as a splitter written here does, with every other byte (0x80 to 0xFF and NUL included)
// kept as it is; a saved trace is the trace and CR LF, and loading it again gives the
// trace with one more empty line in front, round after round. All of it in memory, through
// the texts the file reader and writer hand over; that those move a file's bytes unchanged
// is TraceFileTest's (EightBitCharactersAreKeptByteForByte, SavingReplacesAnExistingFile).

#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "trace/TraceFile.h"

namespace {

namespace trace = brelvion::trace;

constexpr int kRoundTrips = 3;

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

std::string sizes(const std::string& got, const std::string& wanted) {
  return std::to_string(got.size()) + " bytes for " + std::to_string(wanted.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string content(reinterpret_cast<const char*>(data), size);
  std::string trace = trace::traceFromFileText(content);
  const std::string wanted = expectedTrace(content);
  FUZZ_CHECK(trace == wanted, "the lines were split otherwise: " + sizes(trace, wanted));
  FUZZ_CHECK(lineBytes(trace) == lineBytes(content), "a byte of a line changed");

  for (int round = 1; round <= kRoundTrips; ++round) {
    const std::string text = trace::traceFileText(trace);
    FUZZ_CHECK(text == trace + "\r\n", "the saved text is not the trace and CR LF");
    const std::string again = trace::traceFromFileText(text);
    FUZZ_CHECK(again == "\r\n" + trace,
               "round " + std::to_string(round) +
                   " did not add one empty line in front: " + sizes(again, "\r\n" + trace));
    trace = again;
  }
  return 0;
}
