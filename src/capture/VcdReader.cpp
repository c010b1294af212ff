#include "capture/VcdReader.h"

#include <array>
#include <cctype>
#include <limits>

namespace brelvion::capture {

namespace {

constexpr std::int64_t kFemtosecondsPerNs = 1'000'000;

// Blanks by a table: the reader looks at every byte of files of many megabytes.
constexpr std::array<bool, 256> kBlanks = [] {
  std::array<bool, 256> blanks{};
  for (const char ch : {' ', '\t', '\r', '\n', '\f', '\v'}) blanks[static_cast<unsigned char>(ch)] = true;
  return blanks;
}();

bool isBlank(char ch) { return kBlanks[static_cast<unsigned char>(ch)]; }

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// The text as words between blanks, counting lines (LF, CR LF or a lone CR ends one).
class Cursor {
 public:
  explicit Cursor(std::string_view text)
      : p_(text.data()),
        end_(text.data() + text.size()),
        endsWithBreak_(!text.empty() && (text.back() == '\n' || text.back() == '\r')) {}

  // Skips blanks; false at the end of the text.
  bool skipBlanks() {
    while (p_ < end_) {
      const char ch = *p_;
      if (!isBlank(ch)) return true;
      if (ch == '\n') {
        ++line_;
      } else if (ch == '\r' && (p_ + 1 == end_ || p_[1] != '\n')) {
        ++line_;
      }
      ++p_;
    }
    return false;
  }
  // The next word, empty at the end of the text.
  std::string_view word() {
    if (!skipBlanks()) return {};
    const char* start = p_;
    while (p_ < end_ && !isBlank(*p_)) ++p_;
    return {start, static_cast<std::size_t>(p_ - start)};
  }
  // The first character of the next word; only after skipBlanks() returned true.
  char peek() const { return *p_; }
  // For a caller that reads a word's characters itself (no line breaks among them).
  const char* position() const { return p_; }
  const char* end() const { return end_; }
  void moveTo(const char* p) { p_ = p; }
  std::size_t line() const { return line_; }
  // The lines of the whole text, once it has been read to its end.
  std::size_t lines() const { return line_ - (endsWithBreak_ ? 1 : 0); }

 private:
  const char* p_;
  const char* end_;
  bool endsWithBreak_;
  std::size_t line_ = 1;
};

struct Timescale {
  std::int64_t multiply = 1;
  std::int64_t divide = 1;
};

std::optional<Timescale> parseTimescale(std::string_view text) {
  std::size_t digits = 0;
  while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
  const std::string_view number = text.substr(0, digits);
  std::string_view unit = text.substr(digits);
  std::int64_t count = 0;
  if (number == "1") {
    count = 1;
  } else if (number == "10") {
    count = 10;
  } else if (number == "100") {
    count = 100;
  } else {
    return std::nullopt;
  }
  static constexpr std::array<std::pair<std::string_view, std::int64_t>, 6> kUnits{{
      {"s", 1'000'000'000'000'000},
      {"ms", 1'000'000'000'000},
      {"us", 1'000'000'000},
      {"ns", 1'000'000},
      {"ps", 1'000},
      {"fs", 1},
  }};
  for (const auto& [name, femtoseconds] : kUnits) {
    if (unit != name) continue;
    const std::int64_t tick = count * femtoseconds;
    if (tick >= kFemtosecondsPerNs) return Timescale{tick / kFemtosecondsPerNs, 1};
    return Timescale{1, kFemtosecondsPerNs / tick};
  }
  return std::nullopt;
}

class Reader {
 public:
  Reader(std::string_view text, const VcdSignals& signals, VcdLevelSink& sink)
      : in_(text), signals_(signals), sink_(sink) {}

  std::optional<VcdError> run(VcdStats& stats) {
    if (!header() || !body()) return error_;
    stats_.lines = in_.lines();
    stats = stats_;
    return std::nullopt;
  }

 private:
  bool fail(std::string message) {
    error_ = VcdError{in_.line(), std::move(message)};
    return false;
  }

  // The words up to "$end", joined by single blanks.
  bool section(std::string_view keyword, std::string* words) {
    for (;;) {
      const std::string_view word = in_.word();
      if (word.empty()) return fail(std::string(keyword) + " without its $end");
      if (word == "$end") return true;
      if (words != nullptr) {
        if (!words->empty()) words->push_back(' ');
        words->append(word);
      }
    }
  }

  bool header() {
    for (;;) {
      const std::string_view word = in_.word();
      if (word.empty()) return fail("the file ends before $enddefinitions");
      if (word == "$enddefinitions") return section(word, nullptr) && signalsFound();
      if (word == "$var") {
        if (!variable()) return false;
      } else if (word == "$timescale") {
        if (!timescale()) return false;
      } else if (word[0] == '$') {
        if (!section(word, nullptr)) return false;
      } else {
        return fail("'" + std::string(word) + "' in the header, where a $ keyword belongs");
      }
    }
  }

  bool timescale() {
    std::string words;
    if (!section("$timescale", &words)) return false;
    std::string joined;
    for (const char ch : words) {
      if (ch != ' ') joined.push_back(ch);
    }
    const auto scale = parseTimescale(joined);
    if (!scale) return fail("timescale '" + words + "' is not 1, 10 or 100 s, ms, us, ns, ps or fs");
    scale_ = *scale;
    return true;
  }

  bool variable() {
    const std::size_t line = in_.line();
    std::string words;
    if (!section("$var", &words)) return false;
    std::array<std::string_view, 4> parts{};
    std::string_view rest = words;
    for (auto& part : parts) {
      const std::size_t blank = rest.find(' ');
      part = rest.substr(0, blank);
      rest = blank == std::string_view::npos ? std::string_view{} : rest.substr(blank + 1);
    }
    if (parts[3].empty()) return fail("$var needs a type, width, identifier and name");
    for (int k = 0; k < 2; ++k) {
      const std::string& wanted = k == 0 ? signals_.scl : signals_.sda;
      if (!sameName(parts[3], wanted)) continue;
      if (!ids_[k].empty()) {
        error_ = VcdError{line, "two signals are named '" + wanted + "'"};
        return false;
      }
      if (parts[1] != "1") {
        error_ = VcdError{line, "signal '" + std::string(parts[3]) + "' is " +
                                    std::string(parts[1]) + " bits wide, not one line"};
        return false;
      }
      ids_[k] = std::string(parts[2]);
    }
    if (!names_.empty()) names_ += ", ";
    names_.append(parts[3]);
    return true;
  }

  bool signalsFound() {
    for (int k = 0; k < 2; ++k) {
      if (!ids_[k].empty()) continue;
      const std::string& wanted = k == 0 ? signals_.scl : signals_.sda;
      return fail("no signal named '" + wanted + "' (the file has: " +
                  (names_.empty() ? std::string("none") : names_) + ")");
    }
    if (ids_[0] == ids_[1]) return fail("'" + signals_.scl + "' and '" + signals_.sda +
                                        "' are one signal (identifier " + ids_[0] + ")");
    return true;
  }

  bool body() {
    while (in_.skipBlanks()) {
      const char ch = in_.peek();
      if (ch == '#') {
        if (!timeStamp()) return false;
      } else if (ch == '0' || ch == '1' || ch == 'x' || ch == 'X' || ch == 'z' || ch == 'Z') {
        const std::string_view word = in_.word();
        if (!change(ch, word.substr(1))) return false;
      } else if (ch == 'b' || ch == 'B' || ch == 'r' || ch == 'R') {
        const std::string_view value = in_.word();
        const std::string_view id = in_.word();
        if (id.empty()) return fail("a value without its identifier");
        if ((ch == 'b' || ch == 'B') && value.size() >= 2 && !change(value.back(), id)) return false;
      } else if (ch == '$') {
        if (!keyword()) return false;
      } else {
        return fail("'" + std::string(in_.word()) + "' is neither a time stamp nor a value change");
      }
    }
    closeTime();
    if (timeKnown_ && !changedSinceLastStamp_ && stats_.idleTimeStamps > 0) {
      --stats_.idleTimeStamps;  // the last time stamp marks the end, as writers close a file
    }
    stats_.endTimeNs = timeNs_;
    return true;
  }

  bool keyword() {
    const std::string_view word = in_.word();
    if (word == "$dumpvars" || word == "$dumpall" || word == "$dumpon" || word == "$dumpoff" ||
        word == "$end") {
      return true;
    }
    if (word == "$comment") return section(word, nullptr);
    return fail("'" + std::string(word) + "' after $enddefinitions");
  }

  // "#" and decimal digits, read in place: a large capture is mostly time stamps.
  bool timeStamp() {
    const char* const start = in_.position();
    const char* p = start + 1;
    const char* const end = in_.end();
    // Unsigned, so that a number too long to hold wraps harmlessly before it is refused.
    std::uint64_t digitsValue = 0;
    while (p < end && static_cast<unsigned>(*p - '0') < 10) {
      digitsValue = digitsValue * 10 + static_cast<unsigned>(*p++ - '0');
    }
    const auto digits = p - start - 1;
    const bool ended = p == end || isBlank(*p);
    if (digits == 0 || !ended) {
      const std::string word(in_.word());
      return fail(word == "#" ? "'#' without a time" : "time stamp '" + word + "' is not a number");
    }
    in_.moveTo(p);
    const std::string_view word(start, static_cast<std::size_t>(p - start));
    // 18 digits never overflow; more are beyond any capture.
    const auto ticks = static_cast<std::int64_t>(digitsValue);
    if (digits > 18 || ticks > std::numeric_limits<std::int64_t>::max() / scale_.multiply) {
      return fail("time stamp " + std::string(word) + " is too large");
    }
    const std::int64_t ns = ticks * scale_.multiply / scale_.divide;
    if (timeKnown_ && ns < timeNs_) {
      return fail("time stamp " + std::string(word) + " goes back in time");
    }
    if (timeKnown_ && ns == timeNs_) return true;
    closeTime();
    timeKnown_ = true;
    timeNs_ = ns;
    timeLine_ = in_.line();
    changedSinceLastStamp_ = false;
    return true;
  }

  // Which of the two lines id names: 0 SCL, 1 SDA, -1 another signal.
  int lineOf(std::string_view id) const {
    for (int k = 0; k < 2; ++k) {
      const std::string& wanted = ids_[k];
      if (id.size() == wanted.size() && id[0] == wanted[0] &&
          (id.size() == 1 || id.substr(1) == std::string_view(wanted).substr(1))) {
        return k;
      }
    }
    return -1;
  }

  bool change(char value, std::string_view id) {
    if (id.empty()) return fail("a value without its identifier");
    const int k = lineOf(id);
    if (k < 0) return true;
    if (value == 'x' || value == 'X') {
      if (known_[k]) return fail((k == 0 ? signals_.scl : signals_.sda) + " becomes x (unknown)");
      return true;
    }
    if (value != '0' && value != '1' && value != 'z' && value != 'Z') {
      return fail("'" + std::string(1, value) + "' is not a level");
    }
    const bool level = value != '0';
    ++stats_.changes;
    if (known_[k] && level_[k] == level) ++stats_.redundantChanges;
    level_[k] = level;
    known_[k] = true;
    changedAtTime_ = true;
    changedSinceLastStamp_ = true;
    if (!timeKnown_) {
      timeKnown_ = true;
      timeLine_ = in_.line();
    }
    return true;
  }

  void closeTime() {
    if (!timeKnown_) return;
    if (!changedAtTime_) {
      ++stats_.idleTimeStamps;
      return;
    }
    changedAtTime_ = false;
    if (!known_[0] || !known_[1]) return;
    if (emitted_ && level_[0] == last_[0] && level_[1] == last_[1]) return;
    sink_.levels(timeNs_, level_[0], level_[1], timeLine_);
    emitted_ = true;
    last_ = level_;
  }

  Cursor in_;
  const VcdSignals& signals_;
  VcdLevelSink& sink_;
  Timescale scale_;
  std::array<std::string, 2> ids_;
  std::string names_;
  std::array<bool, 2> level_{};
  std::array<bool, 2> known_{};
  std::array<bool, 2> last_{};
  bool emitted_ = false;
  bool timeKnown_ = false;
  bool changedAtTime_ = false;
  bool changedSinceLastStamp_ = false;
  std::int64_t timeNs_ = 0;
  std::size_t timeLine_ = 0;
  VcdStats stats_;
  std::optional<VcdError> error_;
};

class SampleCollector : public VcdLevelSink {
 public:
  void levels(std::int64_t timeNs, bool scl, bool sda, std::size_t) override {
    samples.push_back({timeNs, scl, sda});
  }
  std::vector<BusCapture::Sample> samples;
};

}  // namespace

std::optional<VcdError> readVcd(std::string_view text, const VcdSignals& signals,
                                VcdLevelSink& sink, VcdStats* stats) {
  VcdStats ignored;
  return Reader(text, signals, sink).run(stats != nullptr ? *stats : ignored);
}

std::optional<VcdCapture> readVcdCapture(std::string_view text, const VcdSignals& signals,
                                         VcdError* error) {
  SampleCollector collector;
  VcdCapture capture;
  if (const auto failure = readVcd(text, signals, collector, &capture.stats)) {
    if (error != nullptr) *error = *failure;
    return std::nullopt;
  }
  capture.samples = std::move(collector.samples);
  return capture;
}

}  // namespace brelvion::capture
