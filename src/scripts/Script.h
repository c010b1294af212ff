#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "i2c/RegisterFormat.h"

namespace brelvion::scripts {

// The commands of a bring-up script (.i2cs), one a line. Comment is a line holding only a
// comment; the others up to Read are the script's commands. Pause and Yield are steps of a
// run that no script line writes, the ones a command file stands for besides its writes:
// the pause after each write, and a pass of its reading that wrote nothing but still lets
// pending events run.
enum class Op {
  Comment,
  Device,
  RegBits,
  ValBits,
  Write,
  Delay,
  Modify,
  Poll,
  Expect,
  Read,
  Pause,
  Yield
};

// The longest wait of a delay or a poll, an hour: a longer one is a typing mistake.
inline constexpr std::uint32_t kLongestWaitMs = 3'600'000;
// The most registers one read takes, as the companion's read.
inline constexpr std::uint32_t kMostRegistersRead = 32768;

// A width in bits and the largest number it holds.
constexpr std::uint32_t largestOf(unsigned bits) {
  return bits >= 32 ? 0xFFFF'FFFFu : (1u << bits) - 1u;
}
constexpr bool isRegisterWidth(std::uint32_t bits) { return bits == 8 || bits == 16; }
constexpr bool isValueWidth(std::uint32_t bits) { return bits == 8 || bits == 16 || bits == 32; }

// The settings a bus command runs under: the 8-bit write address, and the format its
// regbits and valbits lines give (values go most significant byte first).
struct Target {
  std::uint8_t device = 0;
  i2c::RegisterFormat format;
  bool operator==(const Target&) const = default;
};

// One line of a script as written. The fields a command does not use stay 0.
struct Statement {
  Op op = Op::Comment;
  std::uint32_t reg = 0;
  // The value of write, modify, poll and expect; the address of device; the width of
  // regbits and valbits.
  std::uint32_t value = 0;
  // The mask of modify and poll.
  std::uint32_t mask = 0;
  // The milliseconds of delay and of poll's time limit; the register count of read.
  std::uint32_t number = 0;
  // The text after ';' (the whole comment of a Comment line), without the ';'.
  std::string comment;
  // The line it was read from; 0 for one made by a program.
  std::size_t line = 0;

  static Statement make(Op op, std::uint32_t reg, std::uint32_t value, std::uint32_t mask,
                        std::uint32_t number) {
    Statement statement;
    statement.op = op;
    statement.reg = reg;
    statement.value = value;
    statement.mask = mask;
    statement.number = number;
    return statement;
  }
  static Statement device(std::uint8_t address) { return make(Op::Device, 0, address, 0, 0); }
  static Statement regBits(unsigned bits) { return make(Op::RegBits, 0, bits, 0, 0); }
  static Statement valBits(unsigned bits) { return make(Op::ValBits, 0, bits, 0, 0); }
  static Statement write(std::uint32_t reg, std::uint32_t value) {
    return make(Op::Write, reg, value, 0, 0);
  }
  static Statement delay(std::uint32_t ms) { return make(Op::Delay, 0, 0, 0, ms); }
  static Statement modify(std::uint32_t reg, std::uint32_t mask, std::uint32_t value) {
    return make(Op::Modify, reg, value, mask, 0);
  }
  static Statement poll(std::uint32_t reg, std::uint32_t mask, std::uint32_t value,
                        std::uint32_t ms) {
    return make(Op::Poll, reg, value, mask, ms);
  }
  static Statement expect(std::uint32_t reg, std::uint32_t value) {
    return make(Op::Expect, reg, value, 0, 0);
  }
  static Statement read(std::uint32_t reg, std::uint32_t count) {
    return make(Op::Read, reg, 0, 0, count);
  }
  static Statement note(std::string text) {
    Statement statement;
    statement.comment = std::move(text);
    return statement;
  }
};

struct Script {
  std::vector<Statement> statements;
};

// Commands that put something on the bus, and so need a device before them.
constexpr bool isBusCommand(Op op) {
  return op == Op::Write || op == Op::Modify || op == Op::Poll || op == Op::Expect ||
         op == Op::Read;
}

// Takes a device, regbits or valbits line into target; false for every other line.
bool applySetting(const Statement& statement, Target& target);

// The command's name as the script spells it ("write"); "" for a Comment.
std::string_view commandName(Op op);

// What a script does, one step per bus command or delay, each with the settings in effect
// there. Two scripts with equal steps have the same meaning, however they are written.
struct Step {
  Op op = Op::Write;
  Target target;
  std::uint32_t reg = 0;
  std::uint32_t value = 0;
  std::uint32_t mask = 0;
  std::uint32_t number = 0;
  std::size_t line = 0;
  // The seconds of a Pause: any number, as a command file's delay may be.
  double seconds = 0;

  static Step pause(double seconds) {
    Step step;
    step.op = Op::Pause;
    step.seconds = seconds;
    return step;
  }
  static Step yield() {
    Step step;
    step.op = Op::Yield;
    return step;
  }

  // Equal in everything but the line (and, for a delay, the settings, which it ignores).
  bool sameMeaning(const Step& other) const;
};

// The steps of a script read without problems, or made by a program from valid statements.
std::vector<Step> stepsOf(const Script& script);

// Equal steps, where a run of delays means one wait of their total.
bool sameMeaning(const std::vector<Step>& a, const std::vector<Step>& b);
inline bool sameMeaning(const Script& a, const Script& b) {
  return sameMeaning(stepsOf(a), stepsOf(b));
}

}  // namespace brelvion::scripts
