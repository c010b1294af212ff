#include "scripts/ScriptBuilder.h"

namespace brelvion::scripts {

void ScriptBuilder::command(const Target& target, Statement statement) {
  if (!started_ || target.device != target_.device) {
    script_.statements.push_back(Statement::device(target.device));
  }
  const i2c::RegisterFormat& format = target.format;
  if (format.addressBytes != target_.format.addressBytes) {
    script_.statements.push_back(
        Statement::regBits(8u * static_cast<unsigned>(format.addressBytes)));
  }
  if (format.valueBytes != target_.format.valueBytes) {
    script_.statements.push_back(Statement::valBits(8u * static_cast<unsigned>(format.valueBytes)));
  }
  started_ = true;
  target_ = target;
  lastCommand_ = script_.statements.size();
  script_.statements.push_back(std::move(statement));
}

void ScriptBuilder::delay(std::uint32_t ms, std::string comment) {
  Statement statement = Statement::delay(ms);
  statement.comment = std::move(comment);
  script_.statements.push_back(std::move(statement));
}

void ScriptBuilder::comment(std::string text) {
  script_.statements.push_back(Statement::note(std::move(text)));
}

}  // namespace brelvion::scripts
