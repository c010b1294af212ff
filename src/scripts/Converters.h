#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "scripts/Formats.h"

// The importers and exporters of each format, behind importText and exportScript.
namespace brelvion::scripts {

ImportResult importCTable(std::string_view text, const std::string& fileName,
                          const ImportOptions& options);
ImportResult importI2cTransfer(std::string_view text, const std::string& fileName,
                               const ImportOptions& options);
ImportResult importXmlBatch(std::string_view text, const std::string& fileName,
                            const ImportOptions& options);
ImportResult importVcd(std::string_view text, const std::string& fileName,
                       const ImportOptions& options);
ImportResult importCommandFile(std::string_view text, const std::string& fileName,
                               const ImportOptions& options);

ExportResult exportCTable(const Script& script, const std::string& scriptName);
ExportResult exportI2cTransfer(const Script& script, const std::string& scriptName,
                               const ExportOptions& options);
ExportResult exportXmlBatch(const Script& script, const std::string& scriptName);
ExportResult exportCommandFile(const Script& script, const std::string& scriptName);

// The line a statement names in a problem: its own, or its place in the script when a
// program made it.
inline std::size_t lineOf(const Statement& statement, std::size_t index) {
  return statement.line > 0 ? statement.line : index + 1;
}

// The failed export at statement `index`, which the format cannot hold, saying why.
ExportResult cannotExport(const std::string& scriptName, const Statement& statement,
                          std::size_t index, const std::string& why);

// What an exporter makes of one statement other than a setting, under the target the
// settings before it made: nothing when the format holds it, else why it cannot.
using StatementWriter =
    std::function<std::optional<std::string>(const Statement& statement, const Target& target)>;

// The loop of every exporter: the settings (device, regbits, valbits) change the target,
// and each other statement goes to write, in order; the first one write cannot hold ends
// the export there, named by its line. onSetting, when given, sees each setting once it
// took effect, for a format that keeps the comments of settings.
std::optional<ExportResult> writeStatements(
    const Script& script, const std::string& scriptName, const StatementWriter& write,
    const std::function<void(const Statement&)>& onSetting = {});

// Why a format has no place for statement's command: "poll cannot be written " + where.
std::string notHeld(const Statement& statement, std::string_view where);

}  // namespace brelvion::scripts
