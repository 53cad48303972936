// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/IntelHexWriter.h"

#include <algorithm>

namespace qv {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr size_t kRecordData = 16;

// Appends one record: ":", count, address, type, data, checksum, CR LF.
void AppendRecord(std::vector<uint8_t>& out, uint8_t type, uint16_t address, const uint8_t* data, size_t length)
{
    uint8_t sum = 0;
    auto putByte = [&](uint8_t value) {
        out.push_back(static_cast<uint8_t>(kHexDigits[value >> 4]));
        out.push_back(static_cast<uint8_t>(kHexDigits[value & 15]));
        sum = static_cast<uint8_t>(sum + value);
    };
    out.push_back(':');
    putByte(static_cast<uint8_t>(length));
    putByte(static_cast<uint8_t>(address >> 8));
    putByte(static_cast<uint8_t>(address));
    putByte(type);
    for (size_t i = 0; i < length; ++i) putByte(data[i]);
    putByte(static_cast<uint8_t>(0x100 - sum));
    out.push_back('\r');
    out.push_back('\n');
}

}  // namespace

std::vector<uint8_t> IntelHexWriter(const uint8_t* data, size_t count, uint32_t baseAddress)
{
    count = std::min(count, kIntelHexMaxWrite);
    const uint64_t recordBase = baseAddress & ~0xFu;
    const bool needsLinearAddress = recordBase + count > 0xFFFF;

    std::vector<uint8_t> out;
    out.reserve(count / kRecordData * 45 + 64 + count / 0x10000 * 17);
    for (size_t offset = 0; offset < count; offset += kRecordData) {
        if (offset % 0x10000 == 0 && needsLinearAddress) {
            const uint16_t upper = static_cast<uint16_t>((recordBase + offset) >> 16);
            const uint8_t value[2] = {static_cast<uint8_t>(upper >> 8), static_cast<uint8_t>(upper)};
            AppendRecord(out, 0x04, 0, value, 2);
        }
        const size_t length = std::min(kRecordData, count - offset);
        AppendRecord(out, 0x00, static_cast<uint16_t>(offset), data + offset, length);
    }
    AppendRecord(out, 0x01, 0, nullptr, 0);
    return out;
}

}  // namespace qv
