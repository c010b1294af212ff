#include "Documents.h"
#include "PdfDoc.h"
#include "Schematic.h"

namespace brelvion::docgen {

namespace {

void purpose(PdfDoc& doc) {
  doc.heading(QStringLiteral("1  What the cable does"));
  doc.paragraph(QStringLiteral(
      "The cable joins a PC parallel port (LPT1, LPT2 or LPT3) to the SDA and SCL lines "
      "of the sensor board. The port's outputs push their lines high and low, but an I2C "
      "line may only ever be pulled low or let go. So the cable puts a transistor between "
      "each port output and its bus line: the transistor either pulls the line to ground "
      "or lets it go, and a pull-up resistor to the sensor's I/O supply (VDDIO) makes the "
      "high level. A third transistor turns the level on SDA back into a port input, so "
      "the PC can read what the sensor sends. The bus never sees the port's 5 V, and the "
      "cable works with sensors at 1.8 V, 2.8 V or 3.3 V alike."));
}

void schematic(PdfDoc& doc) {
  doc.heading(QStringLiteral("2  Schematic"));
  doc.figure(128, drawCableSchematic,
             QStringLiteral("Figure 1. The interface cable. All ground symbols are one "
                            "net: DB-25 pins 18 to 25 and the sensor board's GND. VDDIO is "
                            "the sensor board's I/O supply. Leave out RP1 and RP2 when the "
                            "board has its own pull-ups."));
}

void pins(PdfDoc& doc) {
  doc.heading(QStringLiteral("3  Port pins and register bits"));
  doc.paragraph(QStringLiteral(
      "The port's three registers sit at its base address (data), base + 1 (status) and "
      "base + 2 (control): 378h/379h/37Ah for LPT1, 278h/279h/27Ah for LPT2, "
      "3BCh/3BDh/3BEh for LPT3. The port itself inverts some lines between register bit "
      "and pin; the table gives both."));
  doc.table(
      {{QStringLiteral("DB-25 pin"), QStringLiteral("port signal"), QStringLiteral("register bit"),
        QStringLiteral("pin level"), QStringLiteral("use in the cable")},
       {QStringLiteral("9"), QStringLiteral("D7"), QStringLiteral("data bit 7 (80h)"),
        QStringLiteral("as the bit"), QStringLiteral("drives Q1: pin high pulls SDA low")},
       {QStringLiteral("17"), QStringLiteral("SELECT IN"), QStringLiteral("control bit 3 (08h)"),
        QStringLiteral("inverted by the port"),
        QStringLiteral("drives Q2: pin high pulls SCL low")},
       {QStringLiteral("11"), QStringLiteral("BUSY"), QStringLiteral("status bit 7 (80h)"),
        QStringLiteral("inverted by the port"),
        QStringLiteral("reads Q3: SDA high turns Q3 on and pulls the pin low")},
       {QStringLiteral("2"), QStringLiteral("D0"), QStringLiteral("data bit 0 (01h)"),
        QStringLiteral("as the bit"),
        QStringLiteral("feeds R4, the pull-up of pin 11; the tool keeps it high")},
       {QStringLiteral("18 to 25"), QStringLiteral("ground"), QStringLiteral("-"),
        QStringLiteral("-"), QStringLiteral("common ground with the sensor board")}},
      {0.12, 0.15, 0.2, 0.18, 0.35});
  doc.figure(44, drawConnectorFace,
             QStringLiteral("Figure 2. The PC's DB-25 socket seen from the front (pin 1 top "
                            "right). The solder side of the cable's plug looks the same."));
}

void drive(PdfDoc& doc) {
  doc.heading(QStringLiteral("4  How the tool drives the lines"));
  doc.paragraph(QStringLiteral(
      "The tool never reads a register to change one bit of it: every line step writes one "
      "whole byte. Following each byte through the port and the cable gives the bus "
      "level:"));
  doc.table(
      {{QStringLiteral("step"), QStringLiteral("the tool writes"), QStringLiteral("port pin"),
        QStringLiteral("transistor"), QStringLiteral("bus line")},
       {QStringLiteral("SDA high"), QStringLiteral("data := 7Fh"),
        QStringLiteral("pin 9 low, pins 2-8 high"), QStringLiteral("Q1 off"),
        QStringLiteral("SDA released: high through RP2")},
       {QStringLiteral("SDA low"), QStringLiteral("data := FFh"),
        QStringLiteral("pin 9 high, pins 2-8 high"), QStringLiteral("Q1 on"),
        QStringLiteral("SDA pulled low")},
       {QStringLiteral("SCL high"), QStringLiteral("control := 08h"),
        QStringLiteral("pin 17 low (bit 3 inverted)"), QStringLiteral("Q2 off"),
        QStringLiteral("SCL released: high through RP1")},
       {QStringLiteral("SCL low"), QStringLiteral("control := 00h"), QStringLiteral("pin 17 high"),
        QStringLiteral("Q2 on"), QStringLiteral("SCL pulled low")},
       {QStringLiteral("sense SDA"), QStringLiteral("reads status AND 80h"),
        QStringLiteral("pin 11 low when SDA is high"), QStringLiteral("Q3 on when SDA is high"),
        QStringLiteral("80h: SDA high (no acknowledge, or a 1 bit); 0: SDA low")}},
      {0.13, 0.18, 0.24, 0.18, 0.27});
  doc.paragraph(QStringLiteral(
      "The other control bits are written 0 (pins 1 and 14 high, pin 16 low) and the "
      "other status inputs are not used; the cable leaves those pins open. Q3 reads the "
      "wire itself, so the PC sees the sensor's acknowledge and data as well as its own "
      "writes. When the tool closes the bus it gives the control register back the value "
      "it found there and writes 7Fh to the data register, releasing SDA."));
}

void parts(PdfDoc& doc) {
  doc.heading(QStringLiteral("5  Parts"), 75);
  doc.table({{QStringLiteral("part"), QStringLiteral("value"), QStringLiteral("why")},
             {QStringLiteral("Q1, Q2, Q3"), QStringLiteral("NPN small-signal, BC547B or 2N3904"),
              QStringLiteral("open-collector pull of SDA and SCL; Q3 turns SDA into a port input")},
             {QStringLiteral("R1, R2"), QStringLiteral("4.7 kilohms"),
              QStringLiteral("base current about 0.5 to 0.9 mA: enough to sink the pull-up current "
                             "even from older ports whose control pins only pull up weakly")},
             {QStringLiteral("R3"), QStringLiteral("22 kilohms"),
              QStringLiteral("Q3's base: takes only tens of microamps from SDA, so the high level "
                             "stays well above 0.7 x VDDIO")},
             {QStringLiteral("R4"), QStringLiteral("10 kilohms"),
              QStringLiteral("pulls BUSY high while Q3 is off, powered from D0")},
             {QStringLiteral("RP1, RP2"), QStringLiteral("2.2 kilohms (see the I2C bus help)"),
              QStringLiteral("the bus pull-ups, to the sensor's VDDIO; leave out when the board "
                             "has its own")},
             {QStringLiteral("connector"), QStringLiteral("DB-25 male plug, shielded cable"),
              QStringLiteral("keep the cable under 2 m; join all eight ground pins")}},
            {0.14, 0.32, 0.54});
}

void checking(PdfDoc& doc) {
  doc.heading(QStringLiteral("6  Checking a new cable"));
  doc.bullets(
      {QStringLiteral("Connect the cable and the sensor board, power the board, and start "
                      "the tool: after its start-up SDA measures VDDIO (released), and so "
                      "does SCL when the port's control register held its usual 0Ch "
                      "(the tool gives that register back its old value)."),
       QStringLiteral("With a voltmeter on SDA, write data FFh and then 00h with \"Send "
                      "Register\" to a register that takes it: nothing stays low after the "
                      "transfer ends."),
       QStringLiteral("Enter the sensor's write address and press \"Send Register\": the "
                      "indicator shows \"ACK\" in green. \"NO ACK\" with every byte read as "
                      "FF means nothing pulls SDA low: check the address, the sensor's "
                      "power and reset, and R3/Q3. Every byte read as 00 and every "
                      "acknowledge seen means SDA never rises: check RP2 and Q1."),
       QStringLiteral("The companion program gives the same check from a terminal: "
                      "brelvion-i2c-cli --backend ppdev --trace read 42 00 4 (Linux, with "
                      "access to /dev/parport0).")});
}

}  // namespace

bool writeCableSchematic(const QString& path) {
  PdfDoc doc(path, QStringLiteral("Cable schematic"),
             QStringLiteral("Brelvion I2C Debug Tool - cable schematic"));
  doc.titleBlock(QStringLiteral("Interface cable"),
                 QStringLiteral("Schematic and wiring of the cable between the PC's parallel "
                                "port and the sensor board's I2C bus."));
  purpose(doc);
  schematic(doc);
  pins(doc);
  drive(doc);
  parts(doc);
  checking(doc);
  return doc.finish();
}

}  // namespace brelvion::docgen
