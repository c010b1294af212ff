#include "bus/TransactionRecord.h"

#include <algorithm>

namespace brelvion::bus {

void TransactionRecord::append(Transaction entry) {
  entry.command = note_;
  entries_.push_back(std::move(entry));
  dropOldest();
  if (listener_) listener_(&entries_.back());
}

void TransactionRecord::clear() {
  entries_.clear();
  dropped_ = 0;
  if (listener_) listener_(nullptr);
}

void TransactionRecord::setBound(std::size_t bound) {
  bound_ = std::max<std::size_t>(bound, 1);
  dropOldest();
}

void TransactionRecord::dropOldest() {
  while (entries_.size() > bound_) {
    entries_.pop_front();
    ++dropped_;
  }
}

}  // namespace brelvion::bus
