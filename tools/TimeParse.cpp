// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/TimeParse.h"

#include <optional>
#include <string>
#include <vector>

namespace qv {
namespace {

constexpr size_t kMaxTokens = 10;
constexpr size_t kMaxDigits = 20;
constexpr size_t kMaxDateItems = 3;
constexpr uint64_t kFirstYearValue = 1700;  // a lone number from here on is a year

struct Zone {
    const char* name;
    int minutes;  // east of UTC
};

constexpr Zone kZones[] = {
    {"WT", 0},      {"ADT", -180},  {"AST", -240},  {"CET", 60},    {"CST", -360},  {"EAT", 180},  {"EDT", -240},
    {"EST", -300},  {"FET", 180},   {"GMT", 0},     {"HST", -600},  {"JST", 540},   {"MDT", -360}, {"MEZ", 60},
    {"MSD", 240},   {"MSK", 180},   {"MST", -420},  {"OEZ", 120},   {"PDT", -420},  {"PST", -480}, {"UTC", 0},
    {"WAT", 60},    {"WST", 480},   {"ACDT", 630},  {"ACTS", 570},  {"AEDT", 660},  {"AEST", 600}, {"AKDT", -480},
    {"AKST", -540}, {"AWDT", 540},  {"AWST", 480},  {"CAST", 570},  {"CEST", 120},  {"EAST", 600}, {"MESZ", 120},
    {"NZDT", 780},  {"NZST", 720},  {"OESZ", 180},  {"WAST", 480},  {"ACWST", 525},
};

// Upper-case month abbreviations in Windows-1252 ("MÄR" with the byte 0xC4).
constexpr const char* kGermanMonths[12] = {"JAN", "FEB", "M\xC4R", "APR", "MAI", "JUN",
                                           "JUL", "AUG", "SEP", "OKT", "NOV", "DEZ"};
constexpr const char* kEnglishMonths[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                            "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsLetter(char c)
{
    auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z')) return true;
    // Windows-1252 letters: Š Œ Ž š œ ž Ÿ and À..ÿ without × and ÷.
    if (u == 0x8A || u == 0x8C || u == 0x8E || u == 0x9A || u == 0x9C || u == 0x9E || u == 0x9F) return true;
    return u >= 0xC0 && u != 0xD7 && u != 0xF7;
}

bool IsPunctuation(char c)
{
    auto u = static_cast<unsigned char>(c);
    return (u >= 0x21 && u <= 0x2F) || (u >= 0x3A && u <= 0x40) || (u >= 0x5B && u <= 0x60) || (u >= 0x7B && u <= 0x7E);
}

char Upper(char c)
{
    auto u = static_cast<unsigned char>(c);
    if ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u != 0xF7 && u != 0xFF)) return static_cast<char>(u - 0x20);
    return c;
}

struct Token {
    bool isNumber = false;
    uint64_t value = 0;      // saturating
    std::string digits;      // at most kMaxDigits
    std::string word;        // upper case
    char sepBefore = 0;      // last punctuation mark of the gap before the token
    char sepAfter = 0;       // ... and of the gap after it
};

// The ISO form's "T" between the day and the time: three numbers before it, the first of
// four digits, joined by "-".
bool IsIsoTimeMark(const std::vector<Token>& tokens, std::string_view word, std::string_view rest)
{
    return (word == "T" || word == "t") && !rest.empty() && IsDigit(rest[0]) && tokens.size() == 3 &&
           tokens[0].isNumber && tokens[0].digits.size() == 4 && tokens[0].sepAfter == '-' && tokens[1].isNumber &&
           tokens[1].sepAfter == '-' && tokens[2].isNumber;
}

std::vector<Token> Tokenize(std::string_view text)
{
    std::vector<Token> tokens;
    size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    char pending = 0;  // last punctuation mark of the current gap
    while (pos < text.size() && tokens.size() < kMaxTokens) {
        char c = text[pos];
        if (!IsDigit(c) && !IsLetter(c)) {
            if (IsPunctuation(c)) pending = c;
            ++pos;
            continue;
        }
        Token token;
        if (IsDigit(c)) {
            token.isNumber = true;
            for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
                if (token.digits.size() >= kMaxDigits) continue;
                token.digits += text[pos];
                uint64_t digit = static_cast<uint64_t>(text[pos] - '0');
                token.value = token.value > (UINT64_MAX - digit) / 10 ? UINT64_MAX : token.value * 10 + digit;
            }
        } else {
            size_t start = pos;
            while (pos < text.size() && IsLetter(text[pos])) ++pos;
            std::string_view word = text.substr(start, pos - start);
            if (IsIsoTimeMark(tokens, word, text.substr(pos))) continue;  // counts as a blank
            for (char letter : word) token.word += Upper(letter);
        }
        if (!tokens.empty()) tokens.back().sepAfter = pending;
        token.sepBefore = pending;
        pending = 0;
        tokens.push_back(std::move(token));
    }
    if (!tokens.empty()) tokens.back().sepAfter = pending;
    return tokens;
}

// The month a word names: its first three letters (or fewer, for a shorter word) must
// single out one month in either list.
std::optional<unsigned> MonthOfWord(const std::string& word)
{
    std::string prefix = word.substr(0, 3);
    std::optional<unsigned> found;
    for (unsigned month = 0; month < 12; ++month) {
        for (const char* name : {kGermanMonths[month], kEnglishMonths[month]}) {
            if (std::string_view(name).starts_with(prefix)) {
                if (found && *found != month + 1 && prefix.size() < 3) return std::nullopt;
                found = month + 1;  // with three letters the last match counts
            }
        }
    }
    return found;
}

std::optional<int> ZoneOfWord(const std::string& word)
{
    if (word.size() < 2 || word.size() > 5) return std::nullopt;
    for (const Zone& zone : kZones)
        if (word == zone.name) return zone.minutes;
    return std::nullopt;
}

// A number or a month name taking part in the date or the time.
struct Item {
    uint64_t value = 0;
    bool isMonthName = false;
    const Token* token = nullptr;  // the number's token (null for a month name)
    char sepAfter = 0;
};

uint64_t FullYear(uint64_t year)
{
    if (year < 30) return 2000 + year;
    if (year < 100) return 1900 + year;
    return year;
}

bool InRange(uint64_t value, uint64_t low, uint64_t high) { return value >= low && value <= high; }

void SetDate(ParsedTime& result, std::optional<uint64_t> day, std::optional<uint64_t> month,
             std::optional<uint64_t> year)
{
    if (day) result.day = *day, result.found |= kFoundDay;
    if (month) result.month = *month, result.found |= kFoundMonth;
    if (year) result.year = FullYear(*year), result.found |= kFoundYear;
}

void ReadDate(const std::vector<Item>& date, ParsedTime& result)
{
    size_t monthIndex = date.size();
    for (size_t i = 0; i < date.size(); ++i)
        if (date[i].isMonthName) {
            monthIndex = i;
            break;
        }
    std::vector<uint64_t> others;
    for (size_t i = 0; i < date.size(); ++i)
        if (i != monthIndex) others.push_back(date[i].value);

    if (monthIndex < date.size()) {
        uint64_t month = date[monthIndex].value;
        if (others.empty()) return SetDate(result, {}, month, {});
        if (others.size() == 1) {
            if (InRange(others[0], 1, 31)) return SetDate(result, others[0], month, {});
            return SetDate(result, {}, month, others[0]);
        }
        if (others[0] > 31) return SetDate(result, others[1], month, others[0]);
        return SetDate(result, others[0], month, others[1]);
    }

    if (date.size() == 1) return SetDate(result, {}, {}, date[0].value);
    uint64_t a = date[0].value, b = date[1].value;
    if (date.size() == 2) {
        if (InRange(a, 1, 31) && InRange(b, 1, 12)) return SetDate(result, a, b, {});
        if (a >= kFirstYearValue && InRange(b, 1, 12)) return SetDate(result, {}, b, a);
        if (InRange(a, 1, 12) && b >= kFirstYearValue) return SetDate(result, {}, a, b);
        if (InRange(a, 1, 12) && InRange(b, 13, 31)) return SetDate(result, b, a, {});
        return SetDate(result, a, b, {});  // nothing fits: left for the range checks to refuse
    }
    uint64_t c = date[2].value;
    if (a > 31 && c <= 31) return SetDate(result, c, b, a);
    if (InRange(a, 1, 12) && InRange(b, 13, 31)) return SetDate(result, b, a, c);
    SetDate(result, a, b, c);
}

// Reads hour, minute, second, fraction and a numeric zone offset from items[first..];
// returns the index after the last item used.
size_t ReadTime(const std::vector<Item>& items, size_t first, ParsedTime& result)
{
    size_t i = first;
    auto isNumber = [&](size_t at) { return at < items.size() && !items[at].isMonthName; };
    if (!isNumber(i)) return i;

    const Item& hour = items[i++];
    result.found |= kFoundHour;
    size_t hourDigits = hour.token->digits.size();
    if ((hourDigits == 4 || hourDigits == 6) && hour.sepAfter != ':') {
        // hhmm or hhmmss written as one number
        uint64_t value = hour.value;
        if (hourDigits == 6) {
            result.second = static_cast<unsigned>(value % 100 % 60);
            result.found |= kFoundSecond;
            value /= 100;
        }
        result.minute = static_cast<unsigned>(value % 100 % 60);
        result.hour = static_cast<unsigned>(value / 100 % 24);
        result.found |= kFoundMinute;
    } else {
        result.hour = static_cast<unsigned>(hour.value % 24);
        auto joined = [](char separator) { return separator == ':' || separator == '.'; };
        if (joined(hour.sepAfter) && isNumber(i)) {
            const Item& minute = items[i++];
            result.minute = static_cast<unsigned>(minute.value % 60);
            result.found |= kFoundMinute;
            if (joined(minute.sepAfter) && isNumber(i)) {
                const Item& second = items[i++];
                result.second = static_cast<unsigned>(second.value % 60);
                result.found |= kFoundSecond;
                if ((second.sepAfter == '.' || second.sepAfter == ',') && isNumber(i)) {
                    std::string digits = items[i++].token->digits.substr(0, 9);
                    digits.resize(9, '0');
                    result.fraction = static_cast<uint32_t>(std::stoul(digits));
                    result.found |= kFoundFraction;
                }
            }
        }
    }

    // A numeric zone offset: +hh, +hhmm or +hh:mm (or with "-").
    if (isNumber(i) && (items[i].token->sepBefore == '+' || items[i].token->sepBefore == '-')) {
        const Item& offset = items[i++];
        uint64_t hours = offset.value, minutes = 0;
        if (offset.token->digits.size() > 2) {
            hours = offset.value / 100;
            minutes = offset.value % 100;
        } else if (offset.sepAfter == ':' && isNumber(i)) {
            minutes = items[i++].value;
        }
        if (hours <= 14 && minutes < 60) {
            int total = static_cast<int>(hours * 60 + minutes);
            result.zoneMinutes = offset.token->sepBefore == '-' ? -total : total;
            result.found |= kFoundZone;
        }
    }
    return i;
}

}  // namespace

ParsedTime ParseTimeText(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    std::vector<Token> tokens = Tokenize(text);

    ParsedTime result;
    bool afternoon = false;
    bool timeSeen = false;  // a number followed by ":" came before
    std::vector<Item> items;
    for (const Token& token : tokens) {
        if (token.isNumber) {
            items.push_back({token.value, false, &token, token.sepAfter});
            timeSeen = timeSeen || token.sepAfter == ':';
            continue;
        }
        if (auto month = MonthOfWord(token.word)) {
            items.push_back({*month, true, nullptr, token.sepAfter});
        } else if (token.word == "PM") {
            afternoon = true;
        } else if (token.word == "Z" && timeSeen) {
            result.zoneMinutes = 0;
            result.found |= kFoundZone;
        } else if (auto zone = ZoneOfWord(token.word)) {
            result.zoneMinutes = *zone;
            result.found |= kFoundZone;
        }
        // Other words (a day name in front, filler words between numbers) are dropped.
    }

    auto isTimeStart = [&](size_t i) { return !items[i].isMonthName && items[i].sepAfter == ':'; };
    size_t next = 0;
    if (!items.empty() && isTimeStart(0)) next = ReadTime(items, 0, result);  // the time written first

    std::vector<Item> date;
    while (next < items.size() && date.size() < kMaxDateItems && !isTimeStart(next)) date.push_back(items[next++]);
    bool loneSmallNumber = date.size() == 1 && !date[0].isMonthName && date[0].value < kFirstYearValue;
    if (loneSmallNumber && next == items.size() && !(result.found & kFoundHour)) {
        next -= 1;  // a lone number below the years is a time (hour, hhmm or hhmmss)
        date.clear();
    }
    if (!date.empty()) ReadDate(date, result);
    if (!(result.found & kFoundHour)) ReadTime(items, next, result);

    if (afternoon && (result.found & kFoundHour) && result.hour < 12) result.hour += 12;
    return result;
}

}  // namespace qv
