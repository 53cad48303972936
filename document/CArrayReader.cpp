// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/CArrayReader.h"

#include <algorithm>

#include "common/NumberText.h"

namespace qv {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

size_t SkipBlanks(std::string_view text, size_t position)
{
    while (position < text.size() && IsBlank(text[position])) ++position;
    return position;
}

}  // namespace

void ReadCArrayLine(std::string_view line, std::vector<uint8_t>& out)
{
    size_t position = SkipBlanks(line, 0);
    while (position < line.size()) {
        uint8_t value = 0;  // an empty place between two commas
        if (line[position] != ',') {
            size_t consumed = 0;
            value = static_cast<uint8_t>(ParseNumber(line.substr(position), kNumberAuto, &consumed));
            position = SkipBlanks(line, position + consumed);
        }
        // A value counts only when a comma or the end of the line follows it.
        if (position < line.size() && line[position] != ',') return;
        out.push_back(value);
        if (position < line.size()) position = SkipBlanks(line, position + 1);  // past the comma
    }
}

std::vector<uint8_t> CArrayReader(std::string_view content)
{
    std::vector<uint8_t> result;
    size_t position = 0;
    while (position < content.size() && result.size() <= kCArrayMaxRead) {
        while (position < content.size() && (IsBlank(content[position]) || content[position] == '\r' ||
                                             content[position] == '\n'))
            ++position;
        // A line of any length is read whole: cutting it could split a value in two.
        const size_t start = position;
        position = std::min(content.find_first_of("\r\n", start), content.size());
        ReadCArrayLine(content.substr(start, position - start), result);
    }
    return result;
}

}  // namespace qv
