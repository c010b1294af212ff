#include "scripts/Problem.h"

namespace brelvion::scripts {

std::string Problem::text() const {
  std::string text = file;
  if (line > 0) text += ":" + std::to_string(line);
  return text + ": " + message;
}

}  // namespace brelvion::scripts
