#pragma once

#include <string>
#include <string_view>

namespace brelvion::trace {

// Trace files (*.WSP, *.TXT) are the trace's 8-bit characters as they are, one trace line
// per file line. Nothing is converted: a byte in the trace is a byte in the file.

// What a saved file holds: the trace followed by CR LF.
std::string traceFileText(std::string_view trace);

// The trace a file's content loads as: every line, preceded by CR LF. A line ends at CR,
// CR LF or LF; a last line without an end counts as well.
std::string traceFromFileText(std::string_view content);

// Writes the trace file, replacing an existing one only once it is complete. Throws
// RuntimeError naming the file and the cause.
void saveTraceFile(const std::string& path, std::string_view trace, const std::string& source);

// The whole content of a trace file. Throws RuntimeError naming the file and the cause.
std::string readTraceFile(const std::string& path, const std::string& source);

}  // namespace brelvion::trace
