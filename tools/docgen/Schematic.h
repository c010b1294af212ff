#pragma once

#include <QPainter>

namespace brelvion::docgen {

// The interface cable's circuit, drawn into area (about 4:3).
void drawCableSchematic(QPainter& painter, const QRectF& area);
// The DB-25 connector's face with the pins the cable uses marked.
void drawConnectorFace(QPainter& painter, const QRectF& area);

}  // namespace brelvion::docgen
