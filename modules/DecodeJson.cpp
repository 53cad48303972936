// SPDX-License-Identifier: GPL-3.0-or-later
#include "modules/DecodeJson.h"

#include <cstdio>
#include <vector>

#include "common/CodePage.h"
#include "modules/ModuleSet.h"

namespace qv {
namespace {

void AppendString(std::string& out, std::string_view cp1252)
{
    out += '"';
    for (char c : Cp1252ToUtf8(cp1252)) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

}  // namespace

std::string JsonString(std::string_view cp1252)
{
    std::string out;
    AppendString(out, cp1252);
    return out;
}

std::string DecodeRowsJson(const ModuleSet& set, int slot)
{
    std::string out = "[";
    std::vector<int32_t> open;  // indents of the rows whose children are being written
    bool first = true;
    for (int i = 0;; ++i) {
        const RowView view = set.Row(slot, i);
        while (!open.empty() && (!view.row || view.row->indent <= open.back())) {
            out += "]}";
            open.pop_back();
            first = false;
        }
        if (!view.row) break;
        if (!first) out += ",";
        out += "\n{\"name\":";
        AppendString(out, view.name);
        out += ",\"value\":";
        AppendString(out, view.valueText);
        out += ",\"offset\":" + std::to_string(view.row->offset);
        out += ",\"size\":" + std::to_string(view.row->size);
        out += ",\"address\":" + std::to_string(view.row->address);
        out += ",\"children\":[";
        open.push_back(view.row->indent);
        first = true;
        // A row without deeper rows after it closes at once.
        const RowView next = set.Row(slot, i + 1);
        if (!next.row || next.row->indent <= view.row->indent) {
            out += "]}";
            open.pop_back();
            first = false;
        }
    }
    out += "\n]\n";
    return out;
}

}  // namespace qv
