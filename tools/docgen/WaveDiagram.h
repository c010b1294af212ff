#pragma once

#include <QPainter>
#include <QString>
#include <QVector>

namespace brelvion::docgen {

// An I2C timing diagram: SCL above SDA, one slot per bit time. Slots say what happens in
// them (START, a data bit, an acknowledge bit, STOP, the idle bus) and who drives SDA, so
// the drawing can colour the master's and the slave's part of the data line differently.
class WaveDiagram {
 public:
  enum class Driver { Master, Slave };

  void idle();
  void start();
  void stop();
  // One data bit, driven by the master.
  void bit(int level);
  // Eight bits, most significant first, under a bracket with this label.
  void byte(int value, Driver driver, const QString& label);
  // The ninth bit: acknowledge (SDA low) or not (SDA left high), from driver.
  void acknowledge(bool acknowledged, Driver driver);

  void draw(QPainter& painter, const QRectF& area) const;
  int slotCount() const { return static_cast<int>(slots_.size()); }

 private:
  enum class Kind { Idle, Start, Bit, Ack, Stop };
  struct Slot {
    Kind kind;
    int level;
    Driver driver;
    QString mark;
  };
  struct Group {
    int first;
    int last;
    QString label;
  };

  // SCL and SDA in the four quarters of a slot.
  static void levels(const Slot& slot, int scl[4], int sda[4]);
  void drawRow(QPainter& painter, const QRectF& row, bool clock, double slotWidth) const;

  QVector<Slot> slots_;
  QVector<Group> groups_;
};

// Colours shared by the diagrams and their legends.
QColor masterColour();
QColor slaveColour();
void drawWaveLegend(QPainter& painter, const QPointF& at);

}  // namespace brelvion::docgen
