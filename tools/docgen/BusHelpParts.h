#pragma once

#include "PdfDoc.h"

namespace brelvion::docgen {

// The I2C bus help is written in two files; these join them.
PdfDoc::Drawing registerWriteFigure();
PdfDoc::Drawing sequentialReadFigure();
void writeTransferSections(PdfDoc& doc);

}  // namespace brelvion::docgen
