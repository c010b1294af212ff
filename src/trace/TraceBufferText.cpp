#include "trace/TraceBufferText.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace brelvion::trace {

namespace {

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Length of the run of digits at position.
std::size_t digitsAt(std::string_view text, std::size_t position) {
  std::size_t end = position;
  while (end < text.size() && isDigit(text[end])) ++end;
  return end - position;
}

}  // namespace

std::string traceBufferSizeText(double size) {
  // Independent of the user's locale: the label is read back with a decimal point.
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, size);
  return std::string(text, result.ptr);
}

int traceSliderPosition(double size) {
  if (!std::isfinite(size)) return size > 0 ? kTraceSliderMaximum : kTraceSliderMinimum;
  const double clamped = std::clamp(size, double{kTraceSliderMinimum}, double{kTraceSliderMaximum});
  // Halves go to the even neighbour, as the design's integer conversion did.
  return static_cast<int>(std::nearbyint(clamped));
}

double leadingNumber(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
  std::size_t end = start;
  if (end < text.size() && (text[end] == '+' || text[end] == '-')) ++end;
  const std::size_t whole = digitsAt(text, end);
  end += whole;
  std::size_t fraction = 0;
  if (end < text.size() && text[end] == '.') {
    fraction = digitsAt(text, end + 1);
    end += 1 + fraction;
  }
  if (whole == 0 && fraction == 0) return 0;
  if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
    std::size_t exponent = end + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    const std::size_t digits = digitsAt(text, exponent);
    if (digits > 0) end = exponent + digits;
  }
  std::string_view number = text.substr(start, end - start);
  if (number.front() == '+') number.remove_prefix(1);
  double value = 0;
  std::from_chars(number.data(), number.data() + number.size(), value);
  return value;
}

}  // namespace brelvion::trace
