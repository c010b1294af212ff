#pragma once

#include <string>

namespace brelvion::core {

// What Send File keeps from one send to the next, one each for the whole run.
struct ProgramValues {
  // The command file was opened in the editor: Send File rebuilds its copy every time.
  bool fileEdited = false;
  // The file Send File sends, and the name of the comment-free copy it reads.
  std::string sendFileName;
  std::string tmpFileName;
};

}  // namespace brelvion::core
