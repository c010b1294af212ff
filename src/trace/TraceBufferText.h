#pragma once

#include <string>
#include <string_view>

namespace brelvion::trace {

// The trace-buffer dialog's slider: sizes in lines of the trace.
inline constexpr int kTraceSliderMinimum = 1;
inline constexpr int kTraceSliderMaximum = 250;
inline constexpr int kTraceSliderArrowStep = 1;
inline constexpr int kTraceSliderTrackStep = 10;

// traceBufferSize as the dialog's size label shows it: "10", "12.5".
std::string traceBufferSizeText(double size);

// The slider position for a size: rounded to a whole number of lines and kept to the
// slider's range.
int traceSliderPosition(double size);

// The size a label text stands for: its leading number, read as a real number after any
// blanks ("12 lines" is 12, "1.5e1" is 15); 0 when the text does not begin with one.
double leadingNumber(std::string_view text);

}  // namespace brelvion::trace
