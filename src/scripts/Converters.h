#pragma once

#include <cstddef>
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

}  // namespace brelvion::scripts
