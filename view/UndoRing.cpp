#include "view/UndoRing.h"

namespace qv {

void UndoRing::Clear()
{
    for (UndoRecord& record : records_) record = UndoRecord{};
    current_ = end_ = oldest_ = 0;
}

void UndoRing::Commit()
{
    if (current_ == end_) {
        current_ = end_ = (current_ + 1) % kSize;
        if (current_ == oldest_) {
            records_[static_cast<std::size_t>(oldest_)] = UndoRecord{};
            oldest_ = (oldest_ + 1) % kSize;
        }
        return;
    }
    // Steps that could have been redone are gone once a new step is made.
    for (int i = (current_ + 1) % kSize; i != end_; i = (i + 1) % kSize) records_[static_cast<std::size_t>(i)] = UndoRecord{};
    current_ = end_ = (current_ + 1) % kSize;
}

}  // namespace qv
