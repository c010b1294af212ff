#pragma once

#include <gmock/gmock.h>

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

}  // namespace brelvion::testing
