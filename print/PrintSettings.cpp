// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/PrintSettings.h"

#include "common/CodePage.h"

namespace qv {

namespace {

void PutDword(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    for (size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t GetDword(const std::vector<uint8_t>& bytes, size_t at)
{
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value |= static_cast<uint32_t>(bytes[at + i]) << (8 * i);
    return value;
}

std::string LimitedText(const std::string& text)
{
    return std::string(Utf8Prefix(text, kMaxHeaderLength));
}

}  // namespace

std::vector<uint8_t> PrintSettings::ToBytes() const
{
    std::vector<uint8_t> bytes(kPrintRecordSize, 0);
    PutDword(bytes, 0, static_cast<uint32_t>(linesPerPage));
    PutDword(bytes, 4, static_cast<uint32_t>(topMargin));
    PutDword(bytes, 8, static_cast<uint32_t>(bottomMargin));
    PutDword(bytes, 12, static_cast<uint32_t>(leftMargin));
    PutDword(bytes, 16, static_cast<uint32_t>(rightMargin));
    PutDword(bytes, 20, flags);
    return bytes;
}

bool PrintSettings::FromBytes(const std::vector<uint8_t>& bytes)
{
    if (bytes.size() != kPrintRecordSize) return false;
    PrintSettings read = *this;
    read.linesPerPage = static_cast<int32_t>(GetDword(bytes, 0));
    read.topMargin = static_cast<int32_t>(GetDword(bytes, 4));
    read.bottomMargin = static_cast<int32_t>(GetDword(bytes, 8));
    read.leftMargin = static_cast<int32_t>(GetDword(bytes, 12));
    read.rightMargin = static_cast<int32_t>(GetDword(bytes, 16));
    read.flags = GetDword(bytes, 20);
    // A damaged record would divide by zero or put the text off the page: it is ignored.
    if (!read.InRange()) return false;
    *this = read;
    return true;
}

bool PrintSettings::InRange() const
{
    auto margin = [](int32_t mm) { return mm >= 0 && mm <= kMaxMargin; };
    return linesPerPage >= kMinLinesPerPage && linesPerPage <= kMaxLinesPerPage && margin(topMargin) &&
           margin(bottomMargin) && margin(leftMargin) && margin(rightMargin);
}

PrintSettings& ProcessPrintSettings()
{
    static PrintSettings settings;
    return settings;
}

void LoadPrintSettings(const ISettingsStore& store, const std::string& section, PrintSettings& settings)
{
    if (auto bytes = store.ReadBinary(section, "Print")) settings.FromBytes(*bytes);
    if (auto header = store.ReadUtf8String(section, "Header")) settings.header = LimitedText(*header);
    if (auto footer = store.ReadUtf8String(section, "Footer")) settings.footer = LimitedText(*footer);
}

void StorePrintSettings(ISettingsStore& store, const std::string& section, const PrintSettings& settings)
{
    store.WriteBinary(section, "Print", settings.ToBytes());
    store.WriteUtf8String(section, "Header", settings.header);
    store.WriteUtf8String(section, "Footer", settings.footer);
}

}  // namespace qv
