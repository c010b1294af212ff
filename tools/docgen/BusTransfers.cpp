#include "BusHelpParts.h"

namespace brelvion::docgen {

namespace {

void registerWrite(PdfDoc& doc) {
  doc.heading(QStringLiteral("5  Writing a register"));
  doc.paragraph(QStringLiteral(
      "Camera sensors keep their settings in numbered registers. One register write is one "
      "transfer: START, the write address, the register number (the sub address), the "
      "data byte, STOP; the sensor acknowledges each of the three bytes. This is what "
      "\"Send Register\" and every line of a command file do."));
  doc.figure(62, registerWriteFigure(),
             QStringLiteral("Figure 2. Writing 80h to register 12h of the device at write "
                            "address 42h. The sensor pulls SDA low in each ninth bit."));
}

void registerRead(PdfDoc& doc) {
  doc.heading(QStringLiteral("6  Reading registers"));
  doc.paragraph(QStringLiteral(
      "Reading takes two transfers. The first sets the sensor's register pointer: START, "
      "write address, sub address, STOP, with no data byte. The second reads: START, the "
      "read address, and then the sensor sends one byte per nine clock pulses, starting at "
      "the register the pointer names and moving on to the next register after each byte. "
      "The master acknowledges every byte it wants to be followed by another; after the "
      "last byte it sends STOP."));
  doc.figure(62, sequentialReadFigure(),
             QStringLiteral("Figure 3. A sequential read of two registers from the device "
                            "at 42h (read address 43h): the master acknowledges the first "
                            "byte and not the second, then ends with STOP."));
  doc.paragraph(QStringLiteral(
      "The tool reads this way for the read-back of \"Send Register\" (two bytes, the "
      "first one shown) and for \"Dump to File\" (registers 0 to the count entered, in one "
      "read). It ends the read with STOP straight after the last byte: the STOP's own rise "
      "of SCL, with SDA already held low, stands in for that byte's ninth clock, so a "
      "logic analyser shows the last byte as acknowledged. Sensors take the STOP that "
      "follows at once. Some devices want a repeated START instead of the STOP between "
      "the two transfers; the tool always sends STOP and a new START, which camera "
      "sensors of the SCCB kind even require."));
}

void timing(PdfDoc& doc) {
  doc.heading(QStringLiteral("7  Standard-mode timing"));
  doc.paragraph(QStringLiteral(
      "The bus has no fixed speed: the master's clock sets it, and the slowest device sets "
      "the limit. Standard mode, which every I2C device supports, allows up to 100 kHz "
      "with these minimum times:"));
  doc.table(
      {{QStringLiteral("quantity"), QStringLiteral("symbol"), QStringLiteral("standard mode")},
       {QStringLiteral("SCL clock frequency"), QStringLiteral("fSCL"),
        QStringLiteral("at most 100 kHz")},
       {QStringLiteral("SCL low time"), QStringLiteral("tLOW"), QStringLiteral("at least 4.7 µs")},
       {QStringLiteral("SCL high time"), QStringLiteral("tHIGH"),
        QStringLiteral("at least 4.0 µs")},
       {QStringLiteral("hold time after START (until the first SCL fall)"),
        QStringLiteral("tHD;STA"), QStringLiteral("at least 4.0 µs")},
       {QStringLiteral("set-up time for a repeated START"), QStringLiteral("tSU;STA"),
        QStringLiteral("at least 4.7 µs")},
       {QStringLiteral("data set-up time (SDA stable before SCL rises)"), QStringLiteral("tSU;DAT"),
        QStringLiteral("at least 250 ns")},
       {QStringLiteral("set-up time for STOP (SCL high before SDA rises)"),
        QStringLiteral("tSU;STO"), QStringLiteral("at least 4.0 µs")},
       {QStringLiteral("bus free time between STOP and the next START"), QStringLiteral("tBUF"),
        QStringLiteral("at least 4.7 µs")},
       {QStringLiteral("rise time of SDA and SCL"), QStringLiteral("tr"),
        QStringLiteral("at most 1000 ns")},
       {QStringLiteral("fall time of SDA and SCL"), QStringLiteral("tf"),
        QStringLiteral("at most 300 ns")},
       {QStringLiteral("capacitance of each bus line"), QStringLiteral("Cb"),
        QStringLiteral("at most 400 pF")}},
      {0.55, 0.17, 0.28});
  doc.paragraph(QStringLiteral(
      "On a real parallel port the tool makes every line step last at least 5 µs, so SCL "
      "is high at least 4.0 µs and low at least 4.7 µs, and each bit takes three steps: "
      "the bus runs well below 100 kHz (about 65 kHz at best, slower on a busy PC). Since "
      "only the master drives SCL and no wait on the PC can make a step shorter, a slow "
      "PC only makes the bus slower, never faster than the standard allows."));
}

void busClear(PdfDoc& doc) {
  doc.heading(QStringLiteral("8  Clearing a stuck bus"));
  doc.paragraph(QStringLiteral(
      "If the master stops in the middle of a read (the PC was reset, the program ended, "
      "the cable was pulled), the slave may be halfway through sending a byte and keep "
      "SDA low, waiting for clock pulses that never come. The bus then looks busy to "
      "everyone. The cure is clocking: every SCL pulse moves the slave on by one bit; when "
      "it reaches the acknowledge slot it releases SDA, and the master can end the "
      "transfer with a STOP."));
  doc.paragraph(QStringLiteral(
      "The tool clears the bus when it starts and whenever a port is chosen from the list: "
      "six clock pulses, each ending in a STOP condition, then both lines released. The "
      "trace shows \"Wisp SYS001: I2C port initialised. Bus cleared and released\". Six "
      "pulses free a slave that is three or more bits into its byte; if a device still "
      "holds SDA low (every acknowledge then reads as ACK and every byte as 00h), choose "
      "the port again to repeat the clear, or reset the device."));
}

void pullUps(PdfDoc& doc) {
  doc.heading(QStringLiteral("9  Choosing the pull-up resistors"));
  doc.paragraph(QStringLiteral(
      "The pull-ups decide how fast the lines rise. Too large a resistor and the line "
      "rises too slowly for the bus capacitance; too small and a device cannot pull the "
      "line low enough (an output must sink at most 3 mA at 0.4 V in standard mode)."));
  doc.bullets({QStringLiteral("Smallest value: (VDD - 0.4 V) / 3 mA. For 3.3 V that is about "
                              "970 ohms, for 1.8 V about 470 ohms."),
               QStringLiteral("Largest value: 1000 ns / (0.8473 x Cb). For 100 pF of wiring and "
                              "inputs that is about 11.8 kilohms, for 200 pF about 5.9 kilohms."),
               QStringLiteral("A good choice for a short cable and one sensor: 2.2 to 4.7 "
                              "kilohms to the sensor's I/O supply."),
               QStringLiteral("One set per line: if the sensor board has its own pull-ups, leave "
                              "out the cable's, or the two sets in parallel may be too strong."),
               QStringLiteral("Pull up to the voltage of the sensor's I/O pins (1.8 V, 2.8 V or "
                              "3.3 V are common), never to 5 V when the sensor is not 5 V "
                              "tolerant.")});
}

void traceLines(PdfDoc& doc) {
  doc.heading(QStringLiteral("10  The same transfers in the bus debugger"));
  doc.paragraph(QStringLiteral(
      "With the bus debugger (Wisp Monitor) enabled, every step above becomes one line of "
      "the trace. A register write reads:"));
  doc.table(
      {{QStringLiteral("trace line"), QStringLiteral("bus step")},
       {QStringLiteral("Wisp MSG001:  Generating START on bus"), QStringLiteral("START")},
       {QStringLiteral("Wisp MSG004:  Transmitting data byte on bus"),
        QStringLiteral("write address 42h")},
       {QStringLiteral("Wisp MSG003:  Waiting for ACKNOWLEDGE"),
        QStringLiteral("ninth bit: the sensor acknowledges")},
       {QStringLiteral("Wisp MSG004 / MSG003"), QStringLiteral("sub address and its acknowledge")},
       {QStringLiteral("Wisp MSG004 / MSG003"), QStringLiteral("data byte and its acknowledge")},
       {QStringLiteral("Wisp MSG002:  Generating STOP on bus"), QStringLiteral("STOP")}},
      {0.6, 0.4});
  doc.paragraph(QStringLiteral(
      "A read adds \"Wisp MSG005:  Receiving data from slave :\" with the byte in hex "
      "(for example 07h) for each byte and \"WISP MSG:   Giving ACK\" for each master "
      "acknowledge. The text file winwisp.txt, opened from the debugger's Help menu, "
      "lists every message."));
}

}  // namespace

void writeTransferSections(PdfDoc& doc) {
  registerWrite(doc);
  registerRead(doc);
  timing(doc);
  busClear(doc);
  pullUps(doc);
  traceLines(doc);
}

}  // namespace brelvion::docgen
