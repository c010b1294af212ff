#include "bus/TransactionRecord.h"

#include <algorithm>

namespace brelvion::bus {

void TransactionRecord::append(Transaction entry, std::size_t bound) {
  entries_.push_back(std::move(entry));
  const std::size_t kept = std::max<std::size_t>(bound, 1);
  while (entries_.size() > kept) entries_.pop_front();
  if (listener_) listener_(&entries_.back());
}

void TransactionRecord::clear() {
  entries_.clear();
  if (listener_) listener_(nullptr);
}

}  // namespace brelvion::bus
