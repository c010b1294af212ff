#pragma once

#include <string>

namespace brelvion::commandfiles {

// The numeric conversion of the delay text: blanks around it are ignored; what remains
// must be decimal digits with at most one decimal point and at least one digit ("1.5",
// ".05", "3."). Signs, exponents, inner blanks and anything else fail with RuntimeError 13,
// so a delay can never be negative.
double delayNumber(const std::string& text);

// The delay the window's two fields give: whole seconds, ".", the digits after the point,
// each field with its blanks removed. "1" and "5" give 1.5; "0" and "05" give 0.05.
double delayValue(const std::string& seconds, const std::string& fraction);

// The delay written as one text, as the companion takes it: exactly the texts the window's
// fields can hold (one character of seconds, two after the point), so 0 to 9.99. "1.5",
// ".05", "2" and " 3. " are delays; RuntimeError 13 for anything else.
double delayFromText(const std::string& text);

}  // namespace brelvion::commandfiles
