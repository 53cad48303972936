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
        text = text.substr(0, std::min(text.size(), Room()));
        if (text.empty()) return;
        used_ += text.size();
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
            out.Text(text.substr(i, 1));
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
        case 'T': out.Text(FormatCalendarText(now, kTextDayName | kTextDateYear4 | kTextMonthName)); break;
        case 'Z': out.Text(TwoDigits(now.hour) + ":" + TwoDigits(now.minute)); break;
        case 'L': out.Align(TextAlign::Left); break;
        case 'R': out.Align(TextAlign::Right); break;
        case 'C': out.Align(TextAlign::Centre); break;
        default: out.Text(text.substr(i - 1, 2)); break;
        }
    }
    return std::move(out).Parts();
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
    // Names on disk and in the user database are UTF-8; the texts here are Windows-1252.
    values.path = Utf8ToCp1252(path);
    values.user = Utf8ToCp1252(LoggedOnUserName());
    values.now = CurrentLocalTime();
    return values;
}

}  // namespace qv
