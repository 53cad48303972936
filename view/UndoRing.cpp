// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/UndoRing.h"

#include <algorithm>

namespace qv {

void UndoRing::Clear()
{
    for (UndoRecord& record : records_) record = UndoRecord{};
    current_ = end_ = oldest_ = 0;
    savePoint_ = kNoSavePoint;
}

void UndoRing::Commit()
{
    if (current_ == end_) {
        current_ = end_ = (current_ + 1) % kSize;
        if (current_ == oldest_) {
            // The oldest position can no longer be returned to.
            if (savePoint_ == oldest_) savePoint_ = kNoSavePoint;
            records_[static_cast<std::size_t>(oldest_)] = UndoRecord{};
            oldest_ = (oldest_ + 1) % kSize;
        }
        return;
    }
    // Steps that could have been redone are gone once a new step is made, and with them a
    // save point among them.
    if (savePoint_ != kNoSavePoint && Age(savePoint_) > Age(current_)) savePoint_ = kNoSavePoint;
    for (int i = (current_ + 1) % kSize; i != end_; i = (i + 1) % kSize) records_[static_cast<std::size_t>(i)] = UndoRecord{};
    current_ = end_ = (current_ + 1) % kSize;
}

bool UndoRing::DiffersFromSavePoint() const
{
    if (savePoint_ == kNoSavePoint) return true;
    const int from = std::min(Age(savePoint_), Age(current_));
    const int to = std::max(Age(savePoint_), Age(current_));
    for (int age = from; age < to; ++age)
        if (records_[static_cast<std::size_t>((oldest_ + age) % kSize)].changesBytes) return true;
    return false;
}

}  // namespace qv
