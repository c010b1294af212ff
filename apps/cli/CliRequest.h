#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "PortOptions.h"

namespace brelvion::apps::cli {

// What every command takes: the bus (backend, port, simulated devices, capture) and how a
// session on it runs.
struct SessionOptions : apps::PortOptions {
  bool trace = false;
  // One line a transaction on standard error (the transactions view's lines), instead of
  // the step trace.
  bool transactions = false;
  // DEV is read, and addresses are printed, as 7-bit addresses (devices are kept as 8-bit).
  bool sevenBit = false;
  // A register read's pointer write and read are one transfer with a repeated START.
  bool repeatedStart = false;
  // The line step in microseconds (5 to 1000) and how long a slave may hold SCL low in
  // milliseconds (1 to 10000), when given.
  std::optional<int> stepUs;
  std::optional<int> stretchTimeoutMs;
};

// What write and read share: DEV and SUB, in a register format of their own (--reg-bits,
// --value-bits, --le) or by name from --map.
struct RegisterTarget {
  std::int16_t device = 0;
  // The register address, up to FFFF with --reg-bits 16.
  std::int32_t subAddress = 0;
  // --reg-bits and --value-bits, as the bytes of the register format.
  std::optional<int> addressBytes;
  std::optional<int> valueBytes;
  bool littleEndian = false;
  // --map: the register is named, from this description or list.
  std::optional<std::string> mapFile;
  std::string registerName;
  // Whether DEV was given; by name it may come from the description instead.
  bool deviceGiven = true;

  friend bool operator==(const RegisterTarget&, const RegisterTarget&) = default;
};

struct WriteRequest : RegisterTarget {
  // The value written, up to FFFFFFFF with --value-bits 32.
  std::int64_t data = 0;
  // By name, DATA as given: checked against the register's width once the map is read.
  std::string dataText;

  friend bool operator==(const WriteRequest&, const WriteRequest&) = default;
};

struct ReadRequest : RegisterTarget {
  // Registers to read, 1 to 32768.
  int count = 1;

  friend bool operator==(const ReadRequest&, const ReadRequest&) = default;
};

// send FILE: a command file, or a bring-up script (FILE.i2cs).
struct SendRequest {
  std::string file;
  // A command file's extra seconds after each write, 0 to 9.99.
  double delay = 0;
  // A script's command that is not acknowledged does not stop it.
  bool keepGoing = false;

  friend bool operator==(const SendRequest&, const SendRequest&) = default;
};

struct DumpRequest {
  std::int16_t device = 0;
  // The last register dumped, 0 to 32767.
  std::int16_t last = 0;
  std::string file;

  friend bool operator==(const DumpRequest&, const DumpRequest&) = default;
};

struct ScanRequest {
  // Every address from 00h to 7Fh; one address a line instead of the grid.
  bool all = false;
  bool list = false;

  friend bool operator==(const ScanRequest&, const ScanRequest&) = default;
};

struct PortsRequest {
  friend bool operator==(const PortsRequest&, const PortsRequest&) = default;
};

struct RecoverRequest {
  friend bool operator==(const RecoverRequest&, const RecoverRequest&) = default;
};

// import FORMAT IN: a file of another format turned into a bring-up script.
struct ImportRequest {
  // The format's name as given, and the file converted.
  std::string format;
  std::string input;
  // -o: where the result goes instead of standard output.
  std::optional<std::string> output;
  // --device, as an 8-bit write address: for an input that names no device.
  std::optional<std::int16_t> device;
  bool skipUnknown = false;
  // The capture's signals, the shortest gap kept as a delay, the .i2c pauses kept, and
  // reads as expect lines of the values they returned.
  std::optional<std::string> sclName;
  std::optional<std::string> sdaName;
  std::optional<double> minDelayMs;
  bool keepPauses = false;
  bool readsAsExpect = false;
  // The widths where the input does not give them (--reg-bits, --value-bits), in bytes.
  std::optional<int> addressBytes;
  std::optional<int> valueBytes;

  friend bool operator==(const ImportRequest&, const ImportRequest&) = default;
};

// export FORMAT IN: a bring-up script written in another format.
struct ExportRequest {
  std::string format;
  std::string input;
  std::optional<std::string> output;

  friend bool operator==(const ExportRequest&, const ExportRequest&) = default;
};

// The register map's actions.
enum class MapAction { ReadAll, Snapshot, Diff, WriteBack };

// read-all, snapshot OUT, diff A [B] and write-back SNAPSHOT.
struct MapRequest {
  MapAction action = MapAction::ReadAll;
  // --map; a diff of two snapshots goes without it.
  std::optional<std::string> mapFile;
  // --device as an 8-bit write address, in place of the map's.
  std::optional<std::int16_t> device;
  // The snapshot to write (OUT), to compare (A) or to write back.
  std::string file;
  // diff A B: the second snapshot; without it, A is compared with the device.
  std::optional<std::string> otherSnapshot;

  friend bool operator==(const MapRequest&, const MapRequest&) = default;
};

using CommandRequest =
    std::variant<WriteRequest, ReadRequest, SendRequest, DumpRequest, ScanRequest, PortsRequest,
                 RecoverRequest, ImportRequest, ExportRequest, MapRequest>;

struct CliRequest : SessionOptions {
  CommandRequest command;
};

}  // namespace brelvion::apps::cli
