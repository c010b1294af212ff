#pragma once

#include <string>

#include "registers/RegisterMap.h"
#include "registers/Snapshot.h"

namespace brelvion::registers {

// A register map from a file: a register list when its name ends in .csv (in any case),
// a YAML description otherwise. Errors name the file: the system's reason when it cannot
// be read, line and column (error 321) when its content is wrong.
RegisterMap loadRegisterMap(const std::string& path);

Snapshot loadSnapshot(const std::string& path);
// Written through writeUserFile: an existing file is replaced only by a complete snapshot.
void saveSnapshot(const std::string& path, const Snapshot& snapshot);

// path with ".snap" added when its file name has no extension, so that the dialogs,
// which offer *.snap, find the snapshot again.
std::string withSnapshotExtension(const std::string& path);

// What the file dialogs offer.
inline constexpr const char* kMapFileFilter =
    "Register maps (*.yaml *.yml *.csv)|*.yaml *.yml *.csv|All files (*)|*";
inline constexpr const char* kSnapshotFileFilter =
    "Register snapshots (*.snap)|*.snap|All files (*)|*";

}  // namespace brelvion::registers
