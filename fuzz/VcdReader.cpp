#include "VcdReader.h"

#include <charconv>
#include <sstream>

namespace brelvion::fuzz {

namespace {

struct Reader {
  std::string sclId;
  std::string sdaId;
  bool scl = false;
  bool sda = false;
  bool sclKnown = false;
  bool sdaKnown = false;
  std::optional<std::int64_t> time;
  bool changedAtTime = false;
  VcdCapture capture;
  std::string error;

  bool fail(const std::string& why) {
    error = why;
    return false;
  }

  // Declarations up to "$enddefinitions $end": the two wires and their identifiers.
  bool header(std::istringstream& in) {
    std::string word;
    while (in >> word) {
      if (word == "$enddefinitions") return (in >> word) && word == "$end" ? ids() : fail("end");
      if (word != "$var") continue;
      std::string type, width, id, name, end;
      if (!(in >> type >> width >> id >> name >> end) || end != "$end") return fail("bad $var");
      if (type != "wire" || width != "1") return fail("not a one-bit wire: " + name);
      if (name == "scl") {
        sclId = id;
      } else if (name == "sda") {
        sdaId = id;
      } else {
        return fail("unknown signal " + name);
      }
    }
    return fail("no $enddefinitions");
  }
  bool ids() {
    if (sclId.empty() || sdaId.empty() || sclId == sdaId)
      return fail("scl and sda not both declared");
    return true;
  }

  void closeTime() {
    if (time && changedAtTime) capture.samples.push_back({*time, scl, sda});
    changedAtTime = false;
  }

  bool change(const std::string& word) {
    if (!time) return fail("value change before the first time stamp: " + word);
    if (word.size() < 2 || (word[0] != '0' && word[0] != '1')) return fail("bad change " + word);
    const bool level = word[0] == '1';
    const std::string id = word.substr(1);
    if (id == sclId) {
      if (sclKnown && scl == level && *time != 0) return fail("scl set to its own level");
      scl = level;
      sclKnown = true;
    } else if (id == sdaId) {
      if (sdaKnown && sda == level && *time != 0) return fail("sda set to its own level");
      sda = level;
      sdaKnown = true;
    } else {
      return fail("unknown identifier " + id);
    }
    changedAtTime = true;
    return true;
  }

  bool timeStamp(const std::string& word) {
    std::int64_t value = 0;
    const char* end = word.data() + word.size();
    const auto [ptr, ec] = std::from_chars(word.data() + 1, end, value);
    if (ec != std::errc() || ptr != end) return fail("bad time stamp " + word);
    if (time && value <= *time) return fail("time stamps not increasing at " + word);
    closeTime();
    if (time && !capture.samples.empty() && capture.samples.back().timeNs != *time) {
      return fail("a time stamp without changes before " + word);
    }
    time = value;
    return true;
  }

  bool body(std::istringstream& in) {
    std::string word;
    while (in >> word) {
      if (word == "$dumpvars" || word == "$end") continue;
      if (!(word[0] == '#' ? timeStamp(word) : change(word))) return false;
    }
    if (!time) return true;
    if (changedAtTime) return fail("no closing time stamp");
    if (!capture.samples.empty() && (!sclKnown || !sdaKnown)) return fail("a level never given");
    capture.endTime = *time;
    return true;
  }
};

}  // namespace

std::optional<VcdCapture> readVcd(const std::string& text, std::string* error) {
  std::istringstream in(text);
  Reader reader;
  if (!reader.header(in) || !reader.body(in)) {
    if (error != nullptr) *error = reader.error;
    return std::nullopt;
  }
  return reader.capture;
}

std::string wireTokens(const std::vector<port::BusCapture::Sample>& samples, bool* bothChanged) {
  std::string tokens;
  for (std::size_t i = 1; i < samples.size(); ++i) {
    const auto& was = samples[i - 1];
    const auto& now = samples[i];
    if (was.scl != now.scl && was.sda != now.sda && bothChanged != nullptr) *bothChanged = true;
    if (!was.scl && now.scl) {
      tokens += now.sda ? '1' : '0';
    } else if (was.scl && now.scl && was.sda != now.sda) {
      tokens += now.sda ? 'P' : 'S';
    }
  }
  return tokens;
}

}  // namespace brelvion::fuzz
