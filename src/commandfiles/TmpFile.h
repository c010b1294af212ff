#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "commandfiles/CommandFileErrors.h"
#include "core/ToolCore.h"

namespace brelvion::commandfiles {

// Builds the comment-free copy of the command file source that the sender reads, and sets
// tmpFileName to it: "tmpI2C.txt" in the current directory, or in directory when one is
// given (the companion keeps its copy out of the user's working directory).
//
// Each line of source (ended by CR LF, LF or CR) is copied with its leading blanks removed
// and ended by CR LF; a ";" cuts the rest of its line, and a line that starts with ";" is
// left out. A file whose first command line starts with a script command is a bring-up
// script under another name and is refused, naming it, before anything is sent. The copy
// replaces the old one only when it is complete, by a rename that replaces a symbolic link
// planted under the name rather than following it.
//
// On an error the "Create tmpFile - Error" box is shown, the copy is left empty (so an
// older file's writes are never sent in its place) and the failure is returned; the caller
// goes on as after success.
std::optional<Failure> createTmpFile(core::ToolCore& core, const std::string& source,
                                     const std::string& directory = {});

// The text CreateTmpFile writes into the copy, for a source already in memory.
std::string commentFreeCopy(std::string_view source);

// Open's work once the dialog has given chosenFile: nothing when it is empty, else
// CreateTmpFile and sendFileName := tmpFileName, whatever CreateTmpFile reported.
void prepareCommandFile(core::ToolCore& core, const std::string& chosenFile);

// Deletes the file tmpFileName names. Nothing to do when none was made yet or it is gone
// already; any other failure shows the "CleanUp - Error:" box. The caller always goes on.
void cleanUp(core::ToolCore& core);

}  // namespace brelvion::commandfiles
