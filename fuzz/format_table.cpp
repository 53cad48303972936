// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the input as a format table and looks for its formats in the same bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "modules/FormatTable.h"
#include "view/ByteSource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qv::FormatTable table;
    table.Parse(std::string_view(reinterpret_cast<const char*>(data), size), "/m", "formats.txt");
    qv::DetectFormats(table, qv::BlockByteSource(data, static_cast<int64_t>(size)));
    return 0;
}
