#include "Schematic.h"

#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <initializer_list>

#include "PdfDoc.h"

namespace brelvion::docgen {

namespace {

// Drawing in design units: the schematic is laid out on a 200 x 150 grid.
class Sheet {
 public:
  // The design's width x height units, scaled to fit area and centred in it.
  Sheet(QPainter& painter, const QRectF& area, double width, double height)
      : p_(painter), scale_(std::min(area.width() / width, area.height() / height)) {
    origin_ = area.topLeft() + QPointF((area.width() - width * scale_) / 2, 0);
    pen(QColor(20, 20, 20));
  }

  QPointF at(double x, double y) const { return origin_ + QPointF(x * scale_, y * scale_); }
  double units(double u) const { return u * scale_; }
  void pen(const QColor& colour, double width = 0.45) {
    p_.setPen(QPen(colour, units(width), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p_.setBrush(Qt::NoBrush);
  }

  void wire(std::initializer_list<QPointF> points) {
    QPolygonF line;
    for (const QPointF& point : points) line << at(point.x(), point.y());
    p_.drawPolyline(line);
  }
  void dot(double x, double y) {
    p_.setBrush(p_.pen().color());
    p_.drawEllipse(at(x, y), units(1.1), units(1.1));
    p_.setBrush(Qt::NoBrush);
  }
  void text(double x, double y, const QString& s, Qt::Alignment align, double points = 7,
            bool bold = false) {
    p_.setFont(bodyFont(points, bold));
    const QRectF box(at(x, y) - QPointF(units(40), units(5)), QSizeF(units(80), units(10)));
    QRectF placed = box;
    if (align & Qt::AlignLeft) placed.moveLeft(at(x, y).x());
    if (align & Qt::AlignRight) placed.moveRight(at(x, y).x());
    p_.drawText(placed, static_cast<int>(align | Qt::AlignVCenter), s);
  }

  // A resistor (a box, as drawn in IEC style) on a straight vertical or horizontal run.
  void resistor(QPointF from, QPointF to, double length = 10) {
    const bool vertical = from.x() == to.x();
    const QPointF mid = (from + to) / 2;
    const QPointF half = vertical ? QPointF(0, length / 2) : QPointF(length / 2, 0);
    wire({from, mid - half});
    wire({mid + half, to});
    const QSizeF size = vertical ? QSizeF(3.6, length) : QSizeF(length, 3.6);
    const QPointF corner = mid - QPointF(size.width() / 2, size.height() / 2);
    p_.drawRect(
        QRectF(at(corner.x(), corner.y()), QSizeF(units(size.width()), units(size.height()))));
  }

  // An NPN transistor centred at (x, y): base lead to the left (right when mirrored),
  // collector up and emitter down, 10 units from the centre.
  void npn(double x, double y, bool mirrored) {
    const double s = mirrored ? -1 : 1;
    p_.drawEllipse(at(x, y), units(6), units(6));
    wire({{x - 8 * s, y}, {x - 2.5 * s, y}});
    wire({{x - 2.5 * s, y - 3.8}, {x - 2.5 * s, y + 3.8}});
    wire({{x - 2.5 * s, y - 1.6}, {x + 3 * s, y - 5}, {x + 3 * s, y - 10}});
    wire({{x - 2.5 * s, y + 1.6}, {x + 3 * s, y + 5}, {x + 3 * s, y + 10}});
    // The emitter's arrow points out of the transistor.
    const QPointF tip(x + 3 * s, y + 5);
    const QPointF back(x + 0.6 * s, y + 2.3);
    const QPointF side(-(tip - back).y() * 0.35, (tip - back).x() * 0.35);
    QPolygonF arrow;
    arrow << at(tip.x(), tip.y()) << at(back.x() + side.x(), back.y() + side.y())
          << at(back.x() - side.x(), back.y() - side.y());
    p_.setBrush(p_.pen().color());
    p_.drawPolygon(arrow);
    p_.setBrush(Qt::NoBrush);
  }

  void ground(double x, double y) {
    wire({{x, y}, {x, y + 3}});
    wire({{x - 3.5, y + 3}, {x + 3.5, y + 3}});
    wire({{x - 2.2, y + 4.4}, {x + 2.2, y + 4.4}});
    wire({{x - 0.9, y + 5.8}, {x + 0.9, y + 5.8}});
  }
  void supply(double x, double y, const QString& name) {
    wire({{x, y}, {x, y - 3}});
    wire({{x - 3, y - 3}, {x + 3, y - 3}});
    text(x, y - 6, name, Qt::AlignHCenter, 6.5, true);
  }
  void box(double left, double top, double right, double bottom) {
    p_.drawRect(QRectF(at(left, top), at(right, bottom)));
  }

 private:
  QPainter& p_;
  QPointF origin_;
  double scale_;
};

const QColor kSdaColour(22, 130, 60);
const QColor kSclColour(200, 120, 0);

void drawConnectors(Sheet& s) {
  s.pen(QColor(20, 20, 20), 0.5);
  s.box(4, 30, 40, 142);
  s.text(22, 24, QStringLiteral("PC parallel port"), Qt::AlignHCenter, 7.5, true);
  s.text(22, 148, QStringLiteral("DB-25 plug"), Qt::AlignHCenter, 7);
  s.box(172, 8, 198, 142);
  s.text(185, 3, QStringLiteral("sensor board"), Qt::AlignHCenter, 7.5, true);
  struct Pin {
    double y;
    const char* name;
  };
  for (const Pin& pin : {Pin{44, "17  SELECT IN"}, Pin{80, "9  D7"}, Pin{90, "2  D0"},
                         Pin{110, "11  BUSY"}, Pin{132, "18-25  GND"}}) {
    s.text(6, pin.y, QString::fromLatin1(pin.name), Qt::AlignLeft, 7);
    s.wire({{40, pin.y}, {44, pin.y}});
  }
  for (const Pin& pin : {Pin{14, "VDDIO"}, Pin{28, "SCL"}, Pin{66, "SDA"}, Pin{132, "GND"}}) {
    s.text(174, pin.y, QString::fromLatin1(pin.name), Qt::AlignLeft, 7);
    s.wire({{168, pin.y}, {172, pin.y}});
  }
}

void drawSclDriver(Sheet& s) {
  s.pen(kSclColour);
  s.wire({{95, 28}, {168, 28}});
  s.text(128, 24, QStringLiteral("SCL"), Qt::AlignHCenter, 7.5, true);
  s.pen(QColor(20, 20, 20));
  s.resistor({44, 44}, {84, 44});
  s.text(64, 39, QStringLiteral("R2  4.7k"), Qt::AlignHCenter);
  s.npn(92, 44, false);
  s.text(100, 44, QStringLiteral("Q2"), Qt::AlignLeft, 7, true);
  s.wire({{95, 34}, {95, 28}});
  s.dot(95, 28);
  s.ground(95, 54);
  // Pull-up to the board's I/O supply.
  s.wire({{150, 14}, {168, 14}});
  s.resistor({150, 14}, {150, 28}, 8);
  s.dot(150, 28);
  s.text(153, 21, QStringLiteral("RP1  2.2k"), Qt::AlignLeft);
}

void drawSdaDriver(Sheet& s) {
  s.pen(kSdaColour);
  s.wire({{75, 66}, {168, 66}});
  s.text(110, 62, QStringLiteral("SDA"), Qt::AlignHCenter, 7.5, true);
  s.pen(QColor(20, 20, 20));
  s.resistor({44, 80}, {64, 80}, 9);
  s.text(54, 75, QStringLiteral("R1  4.7k"), Qt::AlignHCenter);
  s.npn(72, 80, false);
  s.text(80, 80, QStringLiteral("Q1"), Qt::AlignLeft, 7, true);
  s.wire({{75, 70}, {75, 66}});
  s.dot(75, 66);
  s.ground(75, 90);
  s.supply(160, 46, QStringLiteral("VDDIO"));
  s.resistor({160, 46}, {160, 66}, 9);
  s.dot(160, 66);
  s.text(157, 56, QStringLiteral("RP2  2.2k"), Qt::AlignRight);
}

void drawSdaSense(Sheet& s) {
  s.pen(QColor(20, 20, 20));
  // BUSY's pull-up, fed from D0, which the tool keeps high.
  s.wire({{44, 90}, {50, 90}});
  s.resistor({50, 90}, {50, 110}, 9);
  s.text(52, 100, QStringLiteral("R4  10k"), Qt::AlignLeft);
  s.wire({{44, 110}, {122, 110}});
  s.dot(50, 110);
  s.npn(125, 124, true);
  s.text(116, 126, QStringLiteral("Q3"), Qt::AlignRight, 7, true);
  s.wire({{122, 114}, {122, 110}});
  s.ground(122, 134);
  s.wire({{133, 124}, {145, 124}});
  s.resistor({145, 124}, {145, 66}, 12);
  s.dot(145, 66);
  s.text(147, 95, QStringLiteral("R3  22k"), Qt::AlignLeft);
  s.ground(50, 132);
  s.wire({{44, 132}, {50, 132}});
  s.ground(162, 132);
  s.wire({{162, 132}, {168, 132}});
}

}  // namespace

void drawCableSchematic(QPainter& painter, const QRectF& area) {
  Sheet sheet(painter, area, 200, 156);
  drawConnectors(sheet);
  drawSclDriver(sheet);
  drawSdaDriver(sheet);
  drawSdaSense(sheet);
  sheet.text(4, 152, QStringLiteral("Q1, Q2, Q3: NPN, e.g. BC547B or 2N3904"), Qt::AlignLeft, 7);
}

void drawConnectorFace(QPainter& painter, const QRectF& area) {
  Sheet s(painter, area, 200, 50);
  s.pen(QColor(20, 20, 20), 0.6);
  QPainterPath shell;
  shell.moveTo(s.at(20, 6));
  shell.lineTo(s.at(180, 6));
  shell.lineTo(s.at(170, 34));
  shell.lineTo(s.at(30, 34));
  shell.closeSubpath();
  painter.drawPath(shell);
  const auto colourOf = [](int pin) {
    if (pin == 9 || pin == 11) return kSdaColour;
    if (pin == 17) return kSclColour;
    if (pin == 2) return QColor(120, 60, 170);
    if (pin >= 18) return QColor(90, 90, 90);
    return QColor(Qt::white);
  };
  // Seen from the front of the PC's socket: pin 1 is top right, pin 14 bottom right.
  for (int pin = 1; pin <= 25; ++pin) {
    const bool top = pin <= 13;
    const double x = top ? 160 - (pin - 1) * 10 : 155 - (pin - 14) * 10;
    const double y = top ? 14 : 26;
    const QColor fill = colourOf(pin);
    painter.setBrush(fill);
    s.pen(QColor(20, 20, 20), 0.35);
    painter.setBrush(fill);
    painter.drawEllipse(s.at(x, y), s.units(4), s.units(4));
    painter.setPen(fill == QColor(Qt::white) ? QColor(Qt::black) : QColor(Qt::white));
    painter.setFont(bodyFont(6, true));
    painter.drawText(QRectF(s.at(x - 4, y - 4), s.at(x + 4, y + 4)), Qt::AlignCenter,
                     QString::number(pin));
  }
  painter.setBrush(Qt::NoBrush);
  struct Key {
    QColor colour;
    const char* text;
  };
  const Key keys[] = {{kSdaColour, "SDA: pin 9 drives it (D7), pin 11 reads it (BUSY)"},
                      {kSclColour, "SCL: pin 17 drives it (SELECT IN)"},
                      {QColor(120, 60, 170), "pin 2 (D0): supply of BUSY's pull-up"},
                      {QColor(90, 90, 90), "pins 18 to 25: ground"}};
  for (int k = 0; k < 4; ++k) {
    const double x = k % 2 == 0 ? 20 : 110;
    const double y = k < 2 ? 40 : 46;
    s.pen(QColor(20, 20, 20), 0.3);
    painter.setBrush(keys[k].colour);
    painter.drawEllipse(s.at(x, y), s.units(2), s.units(2));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(Qt::black);
    s.text(x + 3.5, y, QString::fromLatin1(keys[k].text), Qt::AlignLeft, 7);
  }
}

}  // namespace brelvion::docgen
