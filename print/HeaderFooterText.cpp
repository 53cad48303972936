// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/HeaderFooterText.h"

#include <algorithm>
#include <chrono>

#include "common/CodePage.h"
#include "platform/UserName.h"
#include "tools/TimeText.h"

namespace qv {

namespace {

std::string FileNameOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string TwoDigits(int value)
{
    return std::string(1, static_cast<char>('0' + value / 10 % 10)) + static_cast<char>('0' + value % 10);
}

class PartBuilder {
public:
    void Text(std::string_view text)
    {
        text = Utf8Prefix(text, Room());
        if (text.empty()) return;
        used_ += Utf8Length(text);
        for (HeaderFooterPart& part : parts_) {
            if (part.line == line_ && part.align == align_) {
                part.text += text;
                return;
            }
        }
        parts_.push_back({line_, align_, std::string(text)});
    }
    void NewLine()
    {
        if (Room() == 0) return;
        ++used_;
        ++line_;
    }
    void Align(TextAlign align) { align_ = align; }
    bool Full() const { return Room() == 0; }
    std::vector<HeaderFooterPart> Parts() && { return std::move(parts_); }

private:
    size_t Room() const { return kMaxExpandedHeaderFooter - used_; }

    std::vector<HeaderFooterPart> parts_;
    size_t used_ = 0;
    int line_ = 0;
    TextAlign align_ = TextAlign::Left;
};

}  // namespace

std::vector<HeaderFooterPart> ExpandHeaderFooter(std::string_view text, const HeaderFooterValues& values)
{
    PartBuilder out;
    for (size_t i = 0; i < text.size() && !out.Full(); ++i) {
        const char c = text[i];
        const bool hasNext = i + 1 < text.size();
        // The code "\n" starts a new line; so does a line break that reached the text.
        if (c == '\n') {
            out.NewLine();
            continue;
        }
        if (c == '\\' && hasNext && text[i + 1] == 'n') {
            out.NewLine();
            ++i;
            continue;
        }
        if (c != '&' || !hasNext) {
            const std::string_view character = Utf8Prefix(text.substr(i), 1);
            out.Text(character);
            i += character.size() - 1;
            continue;
        }
        const char code = text[++i];
        const CalendarTime& now = values.now;
        switch (code) {
        case 'D': out.Text(FileNameOf(values.path)); break;
        case 'P': out.Text(values.path); break;
        case 'U': out.Text(values.user); break;
        case 'N': out.Text(std::to_string(values.page)); break;
        case 'M': out.Text(std::to_string(values.pages)); break;
        case 'T': out.Text(Cp1252ToUtf8(FormatCalendarText(now, kTextDayName | kTextDateYear4 | kTextMonthName))); break;
        case 'Z': out.Text(TwoDigits(now.hour) + ":" + TwoDigits(now.minute)); break;
        case 'L': out.Align(TextAlign::Left); break;
        case 'R': out.Align(TextAlign::Right); break;
        case 'C': out.Align(TextAlign::Centre); break;
        default: {
            const std::string_view character = Utf8Prefix(text.substr(i), 1);
            out.Text("&" + std::string(character));
            i += character.size() - 1;
            break;
        }
        }
    }
    return std::move(out).Parts();
}

std::vector<PlacedHeaderFooterPart> PlaceHeaderFooter(const std::vector<HeaderFooterPart>& parts, int32_t left,
                                                      int32_t right,
                                                      const std::function<int32_t(std::string_view)>& widthOf)
{
    struct Taken {
        int row;
        int32_t from, to;
    };
    std::vector<Taken> taken;
    std::vector<PlacedHeaderFooterPart> placed;
    const int32_t gap = widthOf(" ");
    int pushedDown = 0;
    for (const HeaderFooterPart& part : parts) {
        const int32_t width = widthOf(part.text);
        int32_t x = left;
        if (part.align == TextAlign::Centre) x = left + (right - left - width) / 2;
        if (part.align == TextAlign::Right) x = right - width;
        x = std::max(left, x);
        const auto overlaps = [&](const Taken& t) {
            return t.row == part.line + pushedDown && x < t.to + gap && t.from < x + width + gap;
        };
        if (std::any_of(taken.begin(), taken.end(), overlaps)) ++pushedDown;
        const int row = part.line + pushedDown;
        taken.push_back({row, x, x + width});
        placed.push_back({x, row, part.text});
    }
    return placed;
}

int HeaderFooterRows(const std::vector<PlacedHeaderFooterPart>& placed)
{
    int rows = 1;
    for (const PlacedHeaderFooterPart& part : placed) rows = std::max(rows, part.row + 1);
    return rows;
}

CalendarTime CurrentLocalTime()
{
    using namespace std::chrono;
    const int64_t seconds = duration_cast<std::chrono::seconds>(system_clock::now().time_since_epoch()).count();
    const int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
    const int64_t ofDay = seconds - days * 86400;
    CalendarTime universal = CivilFromDays(days);
    universal.hour = static_cast<uint16_t>(ofDay / 3600);
    universal.minute = static_cast<uint16_t>(ofDay / 60 % 60);
    universal.second = static_cast<uint16_t>(ofDay % 60);
    CalendarTime local = universal;
    UniversalToLocal(universal, local);
    return local;
}

HeaderFooterValues HeaderFooterValuesNow(const std::string& path)
{
    HeaderFooterValues values;
    values.path = path;
    values.user = LoggedOnUserName();
    values.now = CurrentLocalTime();
    return values;
}

}  // namespace qv
