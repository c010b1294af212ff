#pragma once

#include <chrono>
#include <functional>

#include "base/Clock.h"

namespace brelvion::scripts {

// The longest sleep of a pause between two calls of its between(), when it has one.
inline constexpr std::chrono::nanoseconds kPauseSlice = std::chrono::milliseconds(50);

enum class PauseEnd { Waited, Stopped, NotANumber };

// Waits seconds on clock, compared in single precision as command files have always been
// paused; 0 or less does not wait. between(), when given, runs at least every kPauseSlice
// and ends the wait early by returning false (Stopped). Seconds that are not a finite
// number, or beyond a float's range, are not waited (NotANumber).
PauseEnd pauseFor(base::Clock& clock, double seconds, const std::function<bool()>& between);

}  // namespace brelvion::scripts
