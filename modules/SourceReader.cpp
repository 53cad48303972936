// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/SourceReader.h"

#include <algorithm>

namespace qv {

void SourceReader::Fetch(int64_t at, int64_t count)
{
    // Modules also step backwards (a SEEK -4 before a byte-wise read), so the window
    // starts a little before the read.
    const int64_t start = std::max<int64_t>(at - kWindow / 8, 0);
    const int64_t length = std::max(count + (at - start), kWindow);
    window_ = source_.Window(start, length, scratch_);
    windowStart_ = start;
}

}  // namespace qv
