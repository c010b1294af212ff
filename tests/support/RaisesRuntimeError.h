#pragma once

#include <gmock/gmock.h>

#include <functional>
#include <string>

#include "base/RuntimeError.h"

namespace brelvion::testing {

// Matches a call that throws RuntimeError number with every one of texts in its description.
template <typename... Texts>
auto raisesRuntimeError(int number, const Texts&... texts) {
  return ::testing::ThrowsMessage<base::RuntimeError>(
      ::testing::AllOf(::testing::StartsWith(std::to_string(number) + ": "),
                       ::testing::HasSubstr(std::string(texts))...));
}

// The number of the RuntimeError call throws; 0 when it throws none.
inline int errorNumberOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const base::RuntimeError& error) {
    return error.number();
  }
  return 0;
}

}  // namespace brelvion::testing
