// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The clipboard form of the source text, made piece by piece: every piece but the last
// covers whole lines, so the pieces join to the text the copy command builds at once,
// without a buffer sized for the whole range.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace qv::cli {

void ExportClipboardText(const uint8_t* bytes, uint64_t count, int valueSize, int format, int lineSize,
                         const std::function<void(const std::string& piece)>& write);

}  // namespace qv::cli
