// An I2C adapter's batch file: <i2c_write addr count radix nostop>bytes</i2c_write>,
// <i2c_read addr count/> and <sleep ms/> inside one root element (<aardvark>), 7-bit
// addresses; the adapter's own settings (<configure>, <i2c_bitrate>, ...) are kept as
// comments.
#include <pugixml.hpp>

#include <algorithm>
#include <array>
#include <sstream>

#include "numconv/HexText.h"
#include "i2c/DeviceAddress.h"
#include "scripts/Converters.h"
#include "scripts/MessageConverter.h"
#include "scripts/TextLines.h"

namespace brelvion::scripts {

namespace {

constexpr std::array<std::string_view, 7> kAdapterSettings{
    "configure",  "i2c_bitrate",    "i2c_pullup", "target_power",
    "i2c_free_bus", "i2c_bus_timeout", "i2c_pullups"};

// The line of each offset of the text.
class LineIndex {
 public:
  explicit LineIndex(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\n') starts_.push_back(i + 1);
    }
  }
  std::size_t lineOf(std::ptrdiff_t offset) const {
    if (offset < 0) return 0;
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), static_cast<std::size_t>(offset));
    return static_cast<std::size_t>(after - starts_.begin());
  }

 private:
  std::vector<std::size_t> starts_{0};
};

std::string attributesText(const pugi::xml_node& node) {
  std::string text = node.name();
  for (const pugi::xml_attribute& attribute : node.attributes()) {
    text += std::string(" ") + attribute.name() + "=" + attribute.value();
  }
  return text;
}

class BatchReader {
 public:
  BatchReader(MessageConverter& converter, const LineIndex& lines, const std::string& fileName,
              Problems& problems)
      : converter_(converter), lines_(lines), fileName_(fileName), problems_(problems) {}

  void node(const pugi::xml_node& node) {
    std::ptrdiff_t offset = node.offset_debug();
    if (node.type() == pugi::node_pcdata) {
      // Text begins where its first word does, not at the line break before it.
      const std::string_view value = node.value();
      const std::size_t first = value.find_first_not_of(" \t\r\n");
      if (first != std::string_view::npos) offset += static_cast<std::ptrdiff_t>(first);
    }
    line_ = lines_.lineOf(offset);
    switch (node.type()) {
      case pugi::node_comment:
        converter_.comment(std::string(trimBlanks(node.value())));
        return;
      case pugi::node_pcdata:
      case pugi::node_cdata:
        if (!trimBlanks(node.value()).empty()) problem("text outside the elements");
        return;
      case pugi::node_element:
        element(node);
        return;
      default:
        return;
    }
  }

 private:
  void element(const pugi::xml_node& node) {
    const std::string name = lowerCase(node.name());
    if (name == "i2c_write" || name == "i2c_read") {
      message(node, name == "i2c_read");
    } else if (name == "sleep") {
      const auto ms = parseDecimal(trimBlanks(node.attribute("ms").value()));
      if (!ms || *ms > kLongestWaitMs) {
        problem("<sleep> needs ms, 0 to an hour");
        return;
      }
      converter_.delay(static_cast<std::uint32_t>(*ms));
    } else if (std::find(kAdapterSettings.begin(), kAdapterSettings.end(), name) !=
               kAdapterSettings.end()) {
      converter_.comment("adapter: " + attributesText(node));
    } else {
      problem("<" + std::string(node.name()) + "> is not an I2C write, read or sleep");
    }
  }

  void message(const pugi::xml_node& node, bool read) {
    const std::string tag = "<" + std::string(node.name()) + ">";
    const auto number = parseCNumber(trimBlanks(node.attribute("addr").value()));
    const auto address = number
                             ? i2c::DeviceAddress::fromNumber(*number, i2c::AddressForm::SevenBit)
                             : std::nullopt;
    if (!address) {
      problem(tag + " needs addr, a 7-bit address");
      return;
    }
    const auto count = parseDecimal(trimBlanks(node.attribute("count").value()));
    if (!count || *count > 0xFFFF) {
      problem(tag + " needs count, 0 to 65535");
      return;
    }
    BusMessage message;
    message.address = address->device.writeByte();
    message.read = read;
    message.readLength = read ? *count : 0;
    message.line = line_;
    if (!read && !bytes(node, tag, *count, message.bytes)) return;
    converter_.message(std::move(message));
  }

  bool bytes(const pugi::xml_node& node, const std::string& tag, std::uint64_t count,
             std::vector<std::uint8_t>& bytes) {
    const pugi::xml_attribute radixAttribute = node.attribute("radix");
    const auto radix = radixAttribute ? parseDecimal(trimBlanks(radixAttribute.value()))
                                      : std::optional<std::uint64_t>(16);
    if (!radix || (*radix != 2 && *radix != 8 && *radix != 10 && *radix != 16)) {
      problem(tag + " radix must be 2, 8, 10 or 16");
      return false;
    }
    std::string text = node.child_value();
    std::replace(text.begin(), text.end(), ',', ' ');
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::replace(text.begin(), text.end(), '\r', ' ');
    for (const std::string_view word : splitWords(text)) {
      const std::optional<std::uint64_t> value = byteValue(word, static_cast<unsigned>(*radix));
      if (!value || *value > 0xFF) {
        problem(tag + ": '" + std::string(word) + "' is not a byte in radix " + std::to_string(*radix));
        return false;
      }
      bytes.push_back(static_cast<std::uint8_t>(*value));
    }
    if (bytes.size() != count) {
      problem(tag + " has count " + std::to_string(count) + " and " + std::to_string(bytes.size()) +
              " bytes");
      return false;
    }
    return true;
  }

  static std::optional<std::uint64_t> byteValue(std::string_view word, unsigned radix) {
    if (radix == 16) return parseHex(word);
    if (radix == 10) return parseDecimal(word);
    std::uint64_t value = 0;
    if (word.empty() || word.size() > 9) return std::nullopt;
    for (const char ch : word) {
      const unsigned digit = static_cast<unsigned>(ch - '0');
      if (ch < '0' || digit >= radix) return std::nullopt;
      value = value * radix + digit;
    }
    return value;
  }

  void problem(std::string message) { problems_.push_back(Problem{fileName_, line_, std::move(message)}); }

  MessageConverter& converter_;
  const LineIndex& lines_;
  const std::string& fileName_;
  Problems& problems_;
  std::size_t line_ = 0;
};

// An XML comment's text, which may not hold "--" nor end in "-".
std::string commentText(const std::string& text) {
  std::string safe;
  for (const char ch : text) {
    const char kept = ch == '\r' || ch == '\n' ? ' ' : ch;
    if (kept == '-' && !safe.empty() && safe.back() == '-') safe.push_back(' ');
    safe.push_back(kept);
  }
  if (!safe.empty() && safe.back() == '-') safe.push_back(' ');
  return " " + safe + " ";
}

std::string hexBytes(std::uint32_t value, int bytes) {
  std::string text;
  for (int shift = 8 * bytes - 8; shift >= 0; shift -= 8) {
    if (!text.empty()) text.push_back(' ');
    numconv::appendUpperHex(text, (value >> shift) & 0xFF, 2);
  }
  return text;
}

pugi::xml_node appendMessage(pugi::xml_node& root, bool read, const Target& target,
                             std::size_t count) {
  pugi::xml_node element = root.append_child(read ? "i2c_read" : "i2c_write");
  element.append_attribute("addr").set_value(
      ("0x" + i2c::DeviceAddress::fromByte(target.device).text(i2c::AddressForm::SevenBit))
          .c_str());
  element.append_attribute("count").set_value(static_cast<unsigned>(count));
  return element;
}

}  // namespace

ImportResult importXmlBatch(std::string_view text, const std::string& fileName,
                            const ImportOptions& options) {
  ImportResult result;
  const LineIndex lines(text);
  pugi::xml_document document;
  const pugi::xml_parse_result parsed =
      document.load_buffer(text.data(), text.size(), pugi::parse_default | pugi::parse_comments);
  if (!parsed) {
    result.failed = true;
    result.problems.push_back(Problem{fileName, lines.lineOf(parsed.offset),
                                      std::string("not XML: ") + parsed.description()});
    return result;
  }
  ScriptBuilder builder;
  MessageConverter converter(fileName, options, builder, result.problems);
  BatchReader reader(converter, lines, fileName, result.problems);
  for (const pugi::xml_node& node : document.children()) {
    if (node.type() != pugi::node_element) {
      reader.node(node);
      continue;
    }
    for (const pugi::xml_node& child : node.children()) reader.node(child);
  }
  converter.finish();
  result.script = builder.take();
  return result;
}

ExportResult exportXmlBatch(const Script& script, const std::string& scriptName) {
  pugi::xml_document document;
  document.append_child(pugi::node_comment)
      .set_value(commentText(scriptName + " as an I2C adapter batch (7-bit addresses)").c_str());
  pugi::xml_node root = document.append_child("aardvark");
  // Every statement's comment stays, a setting's too.
  const auto keepComment = [&root](const Statement& statement) {
    if (!statement.comment.empty()) {
      root.append_child(pugi::node_comment).set_value(commentText(statement.comment).c_str());
    }
  };
  const auto add = [&](const Statement& statement,
                       const Target& target) -> std::optional<std::string> {
    const i2c::RegisterFormat& format = target.format;
    switch (statement.op) {
      case Op::Comment:
        break;
      case Op::Write: {
        pugi::xml_node write = appendMessage(
            root, false, target, static_cast<std::size_t>(format.addressBytes + format.valueBytes));
        write.append_attribute("radix").set_value(16);
        write.text().set((hexBytes(statement.reg, format.addressBytes) + " " +
                          hexBytes(statement.value, format.valueBytes))
                             .c_str());
        break;
      }
      case Op::Read: {
        pugi::xml_node pointer =
            appendMessage(root, false, target, static_cast<std::size_t>(format.addressBytes));
        pointer.append_attribute("radix").set_value(16);
        pointer.append_attribute("nostop").set_value(1);
        pointer.text().set(hexBytes(statement.reg, format.addressBytes).c_str());
        appendMessage(root, true, target,
                      statement.number * static_cast<std::size_t>(format.valueBytes));
        break;
      }
      case Op::Delay:
        root.append_child("sleep").append_attribute("ms").set_value(statement.number);
        break;
      default:
        return notHeld(statement, "in an adapter batch");
    }
    keepComment(statement);
    return std::nullopt;
  };
  if (std::optional<ExportResult> failed = writeStatements(script, scriptName, add, keepComment)) {
    return *failed;
  }
  std::ostringstream out;
  document.save(out, "  ", pugi::format_indent, pugi::encoding_utf8);
  return ExportResult{out.str(), std::nullopt};
}

}  // namespace brelvion::scripts
