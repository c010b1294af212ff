#include "WaveDiagram.h"

#include <QFontMetricsF>
#include <QPainterPath>

#include "PdfDoc.h"

namespace brelvion::docgen {

QColor masterColour() { return QColor(31, 95, 191); }
QColor slaveColour() { return QColor(22, 150, 70); }

void WaveDiagram::idle() { slots_.append({Kind::Idle, 1, Driver::Master, QString()}); }
void WaveDiagram::start() { slots_.append({Kind::Start, 0, Driver::Master, QStringLiteral("S")}); }
void WaveDiagram::stop() { slots_.append({Kind::Stop, 1, Driver::Master, QStringLiteral("P")}); }

void WaveDiagram::bit(int level) {
  slots_.append({Kind::Bit, level ? 1 : 0, Driver::Master, QString::number(level ? 1 : 0)});
}

void WaveDiagram::byte(int value, Driver driver, const QString& label) {
  const int first = slotCount();
  for (int bit = 7; bit >= 0; --bit) {
    const int level = (value >> bit) & 1;
    slots_.append({Kind::Bit, level, driver, QString::number(level)});
  }
  groups_.append({first, slotCount() - 1, label});
}

void WaveDiagram::acknowledge(bool acknowledged, Driver driver) {
  slots_.append({Kind::Ack, acknowledged ? 0 : 1, driver,
                 acknowledged ? QStringLiteral("A") : QStringLiteral("N")});
}

void WaveDiagram::levels(const Slot& slot, int scl[4], int sda[4]) {
  static const int kIdle[4] = {1, 1, 1, 1};
  static const int kPulse[4] = {0, 1, 1, 0};
  static const int kStartScl[4] = {1, 1, 1, 0};
  static const int kStartSda[4] = {1, 1, 0, 0};
  static const int kStopScl[4] = {0, 1, 1, 1};
  static const int kStopSda[4] = {0, 0, 1, 1};
  const int* clock = kPulse;
  const int* data = nullptr;
  switch (slot.kind) {
    case Kind::Idle:
      clock = kIdle;
      data = kIdle;
      break;
    case Kind::Start:
      clock = kStartScl;
      data = kStartSda;
      break;
    case Kind::Stop:
      clock = kStopScl;
      data = kStopSda;
      break;
    case Kind::Bit:
    case Kind::Ack:
      break;
  }
  for (int q = 0; q < 4; ++q) {
    scl[q] = clock[q];
    sda[q] = data ? data[q] : slot.level;
  }
}

void WaveDiagram::drawRow(QPainter& painter, const QRectF& row, bool clock,
                          double slotWidth) const {
  const double quarter = slotWidth / 4;
  const double ramp = quarter * 0.35;
  const auto yOf = [&](int level) { return level ? row.top() : row.bottom(); };
  int previous = 1;
  for (int s = 0; s < slotCount(); ++s) {
    int scl[4];
    int sda[4];
    levels(slots_[s], scl, sda);
    const int* wave = clock ? scl : sda;
    const bool slave = !clock && slots_[s].driver == Driver::Slave;
    // A released line that nobody pulls is high by the pull-up: drawn thin and grey.
    QPainterPath path;
    double x = row.left() + s * slotWidth;
    path.moveTo(x, yOf(previous));
    for (int q = 0; q < 4; ++q) {
      if (wave[q] != previous) path.lineTo(x + ramp, yOf(wave[q]));
      path.lineTo(x + quarter, yOf(wave[q]));
      previous = wave[q];
      x += quarter;
    }
    QColor colour = clock ? masterColour() : (slave ? slaveColour() : masterColour());
    if (slots_[s].kind == Kind::Idle) colour = QColor(130, 130, 130);
    painter.setPen(QPen(colour, row.height() * 0.09, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    painter.drawPath(path);
  }
}

void WaveDiagram::draw(QPainter& painter, const QRectF& area) const {
  const double labelWidth = area.width() * 0.07;
  const double slotWidth = (area.width() - labelWidth) / slotCount();
  const double unit = area.height() / 10;
  const QRectF groupRow(area.left() + labelWidth, area.top(), area.width() - labelWidth, unit * 2);
  const QRectF sclRow(groupRow.left(), area.top() + unit * 2.6, groupRow.width(), unit * 2);
  const QRectF markRow(groupRow.left(), area.top() + unit * 5.0, groupRow.width(), unit * 1.4);
  const QRectF sdaRow(groupRow.left(), area.top() + unit * 6.8, groupRow.width(), unit * 2);

  painter.setPen(Qt::black);
  painter.setFont(bodyFont(9, true));
  painter.drawText(QRectF(area.left(), sclRow.top(), labelWidth, sclRow.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("SCL"));
  painter.drawText(QRectF(area.left(), sdaRow.top(), labelWidth, sdaRow.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("SDA"));

  // Faint bit-time grid.
  painter.setPen(QPen(QColor(215, 215, 215), 1, Qt::DotLine));
  for (int s = 0; s <= slotCount(); ++s) {
    const double x = sclRow.left() + s * slotWidth;
    painter.drawLine(QPointF(x, sclRow.top()), QPointF(x, sdaRow.bottom()));
  }

  drawRow(painter, sclRow, true, slotWidth);
  drawRow(painter, sdaRow, false, slotWidth);

  // What each slot carries, between the two lines.
  painter.setFont(bodyFont(7, true));
  for (int s = 0; s < slotCount(); ++s) {
    const Slot& slot = slots_[s];
    if (slot.mark.isEmpty()) continue;
    const bool special = slot.kind != Kind::Bit;
    painter.setPen(special ? QColor(190, 40, 40) : QColor(60, 60, 60));
    painter.drawText(
        QRectF(markRow.left() + s * slotWidth, markRow.top(), slotWidth, markRow.height()),
        Qt::AlignCenter, slot.mark);
  }

  // Brackets over the bytes.
  painter.setFont(bodyFont(7.5));
  for (const Group& group : groups_) {
    const double left = groupRow.left() + group.first * slotWidth + slotWidth * 0.1;
    const double right = groupRow.left() + (group.last + 1) * slotWidth - slotWidth * 0.1;
    const double y = groupRow.bottom() - unit * 0.2;
    painter.setPen(QPen(QColor(80, 80, 80), unit * 0.08));
    painter.drawLine(QPointF(left, y), QPointF(right, y));
    painter.drawLine(QPointF(left, y), QPointF(left, y + unit * 0.4));
    painter.drawLine(QPointF(right, y), QPointF(right, y + unit * 0.4));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(left, groupRow.top(), right - left, y - groupRow.top()),
                     Qt::AlignHCenter | Qt::AlignBottom | Qt::TextWordWrap, group.label);
  }
}

void drawWaveLegend(QPainter& painter, const QPointF& at) {
  const QFontMetricsF metrics(bodyFont(8), painter.device());
  const double line = metrics.height();
  double x = at.x();
  const auto item = [&](const QColor& colour, const QString& text) {
    painter.setPen(QPen(colour, line * 0.25));
    painter.drawLine(QPointF(x, at.y() + line / 2), QPointF(x + line * 2, at.y() + line / 2));
    x += line * 2.5;
    painter.setPen(Qt::black);
    painter.setFont(bodyFont(8));
    painter.drawText(QPointF(x, at.y() + metrics.ascent()), text);
    x += metrics.horizontalAdvance(text) + line * 1.5;
  };
  item(masterColour(), QStringLiteral("driven by the master (the PC)"));
  item(slaveColour(), QStringLiteral("driven by the slave (the sensor)"));
  item(QColor(130, 130, 130), QStringLiteral("idle bus"));
  painter.setPen(QColor(190, 40, 40));
  painter.setFont(bodyFont(8, true));
  painter.drawText(QPointF(at.x(), at.y() + line * 1.4 + metrics.ascent()),
                   QStringLiteral("S = START    P = STOP    A = acknowledge (SDA low)    "
                                  "N = no acknowledge (SDA left high)"));
}

}  // namespace brelvion::docgen
