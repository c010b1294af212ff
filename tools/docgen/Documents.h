#pragma once

#include <QString>

namespace brelvion::docgen {

// Each writes one help document as a PDF; false when the file could not be written.
bool writeBusHelp(const QString& path);
bool writeCableSchematic(const QString& path);

}  // namespace brelvion::docgen
