#pragma once

#include <cstdint>
#include <string>

namespace brelvion::core {

// The values the main window and the command files keep for the bus, one each for the
// whole run. The bus transactions change DeviceAddress's bit 0 in place.
struct ProgramValues {
  std::int16_t DeviceAddress = 0;
  std::int16_t SubAddress = 0;
  std::int16_t WriteData = 0;
  // Extra seconds after each command-file write, from the two delay fields.
  double CommandDelay = 0;
  // Mirrors the check mark of "Audible": the sender beeps after each write.
  bool BeepOn = false;
  // The command file was opened in the editor: Send File rebuilds its copy every time.
  bool FileEdited = false;
  // The file Send File sends, and the name of the comment-free copy it reads.
  std::string SendFileName;
  std::string TmpFileName;
};

}  // namespace brelvion::core
