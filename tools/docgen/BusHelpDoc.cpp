#include "BusHelpParts.h"
#include "Documents.h"
#include "PdfDoc.h"
#include "WaveDiagram.h"

namespace brelvion::docgen {

namespace {

using Driver = WaveDiagram::Driver;

// A figure of one diagram with the legend under it.
PdfDoc::Drawing diagramWithLegend(const WaveDiagram& wave) {
  return [wave](QPainter& painter, const QRectF& area) {
    const double legend = area.height() * 0.22;
    wave.draw(painter, QRectF(area.left(), area.top(), area.width(), area.height() - legend));
    drawWaveLegend(painter, QPointF(area.left(), area.bottom() - legend * 0.85));
  };
}

WaveDiagram startStopDiagram() {
  WaveDiagram wave;
  wave.idle();
  wave.start();
  for (int level : {1, 0, 1}) wave.bit(level);
  wave.stop();
  wave.idle();
  return wave;
}

WaveDiagram registerWrite() {
  WaveDiagram wave;
  wave.idle();
  wave.start();
  wave.byte(0x42, Driver::Master, QStringLiteral("write address 42h (21h + W)"));
  wave.acknowledge(true, Driver::Slave);
  wave.byte(0x12, Driver::Master, QStringLiteral("sub address 12h"));
  wave.acknowledge(true, Driver::Slave);
  wave.byte(0x80, Driver::Master, QStringLiteral("data 80h"));
  wave.acknowledge(true, Driver::Slave);
  wave.stop();
  wave.idle();
  return wave;
}

WaveDiagram sequentialRead() {
  WaveDiagram wave;
  wave.idle();
  wave.start();
  wave.byte(0x43, Driver::Master, QStringLiteral("read address 43h (21h + R)"));
  wave.acknowledge(true, Driver::Slave);
  wave.byte(0x07, Driver::Slave, QStringLiteral("register n: 07h"));
  wave.acknowledge(true, Driver::Master);
  wave.byte(0x55, Driver::Slave, QStringLiteral("register n+1: 55h"));
  wave.acknowledge(false, Driver::Master);
  wave.stop();
  wave.idle();
  return wave;
}

void linesAndLevels(PdfDoc& doc) {
  doc.heading(QStringLiteral("1  Two wires, pulled up"));
  doc.paragraph(QStringLiteral(
      "An I2C bus has two signal lines besides ground: SCL, the clock, and SDA, the data. "
      "Every device on the bus connects to both through an open-drain (or open-collector) "
      "output: it can pull a line to ground or let go of it, but it never drives a line "
      "high. A resistor to the supply, the pull-up, brings a line high whenever nobody "
      "pulls it. A line is therefore high only when every device has released it, which "
      "is what lets a slave answer on the same wire the master talks on."));
  doc.paragraph(QStringLiteral(
      "In this tool the PC is the master: it drives SCL on its own and drives SDA while it "
      "sends. The camera sensor is the slave: it drives SDA to acknowledge and to send "
      "the bytes the master reads. The interface cable turns the parallel port's outputs "
      "into open-collector pulls (see the document Cable Schematic)."));
}

void startStopAndBits(PdfDoc& doc) {
  doc.heading(QStringLiteral("2  START, STOP and the data bits"));
  doc.paragraph(QStringLiteral(
      "While SCL is high, SDA must stay still: the receiver takes the bit at that time. "
      "SDA changes only while SCL is low. The two exceptions frame every transfer: SDA "
      "falling while SCL is high is a START condition, SDA rising while SCL is high is a "
      "STOP condition. Between START and STOP the bus is busy; after STOP it is idle, "
      "with both lines high."));
  doc.figure(48, diagramWithLegend(startStopDiagram()),
             QStringLiteral("Figure 1. START, three data bits (1, 0, 1) and STOP. Each "
                            "bit gets one SCL pulse; SDA changes only while SCL is low."));
}

void bytesAndAcknowledge(PdfDoc& doc) {
  doc.heading(QStringLiteral("3  Bytes and the acknowledge"));
  doc.paragraph(QStringLiteral(
      "Data goes over the bus in bytes, most significant bit first, one SCL pulse per "
      "bit. A ninth pulse follows every byte. For it the sender releases SDA and the "
      "receiver answers: pulling SDA low is an acknowledge (ACK), leaving it high is no "
      "acknowledge (NACK). When the master writes, the slave acknowledges; when the master "
      "reads, the master acknowledges each byte it wants to be followed by another and "
      "leaves the last one unacknowledged before its STOP."));
  doc.paragraph(QStringLiteral(
      "A missing acknowledge on the address byte means no device has that address: a wrong "
      "address, a device without power or in reset, or a broken line. The tool shows the "
      "outcome of the last acknowledge in its indicator (\"ACK\" in green, \"NO ACK\" in "
      "red) and, with the bus debugger on, every acknowledge wait and timeout in the trace "
      "(\"Wisp ERR001\" for the address byte, \"Wisp ERR002\" for later bytes)."));
}

void addresses(PdfDoc& doc) {
  doc.heading(QStringLiteral("4  Device addresses: 7-bit and 8-bit forms"));
  doc.paragraph(QStringLiteral(
      "The first byte after START is the address byte: the device's 7-bit address in bits "
      "7 to 1 and the direction in bit 0, 0 to write and 1 to read. Data sheets and tools "
      "name the same device in two ways. The 7-bit form is the address alone (Linux "
      "i2c-tools and most kernel drivers use it). The 8-bit form is the whole address "
      "byte, given as the write address with the read address one above it. This tool "
      "takes the 8-bit write form: it clears bit 0 for writes and sets it for reads."));
  doc.table(
      {{QStringLiteral("7-bit address"), QStringLiteral("write address (8-bit)"),
        QStringLiteral("read address (8-bit)"), QStringLiteral("enter in the tool")},
       {QStringLiteral("21h"), QStringLiteral("42h"), QStringLiteral("43h"), QStringLiteral("42")},
       {QStringLiteral("30h"), QStringLiteral("60h"), QStringLiteral("61h"), QStringLiteral("60")},
       {QStringLiteral("3Ch"), QStringLiteral("78h"), QStringLiteral("79h"), QStringLiteral("78")}},
      {0.25, 0.25, 0.25, 0.25});
  doc.paragraph(QStringLiteral(
      "Rule of thumb: if the data sheet gives a pair such as 42h/43h, enter the even one. "
      "If it gives a single address below 80h for a part that answers to no even/odd "
      "pair, it is probably the 7-bit form: double it."));
}

}  // namespace

bool writeBusHelp(const QString& path) {
  PdfDoc doc(path, QStringLiteral("I2C bus help"),
             QStringLiteral("Brelvion I2C Debug Tool - I2C bus help"));
  doc.titleBlock(QStringLiteral("The I2C bus"),
                 QStringLiteral("A working guide for the Brelvion I2C Debug Tool: lines, "
                                "conditions, bytes, addresses, register transfers, timing, "
                                "bus clear and pull-ups."));
  linesAndLevels(doc);
  startStopAndBits(doc);
  bytesAndAcknowledge(doc);
  addresses(doc);
  writeTransferSections(doc);
  return doc.finish();
}

PdfDoc::Drawing registerWriteFigure() { return diagramWithLegend(registerWrite()); }
PdfDoc::Drawing sequentialReadFigure() { return diagramWithLegend(sequentialRead()); }

}  // namespace brelvion::docgen
