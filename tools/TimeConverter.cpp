// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/TimeConverter.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <chrono>

#include "common/Expression.h"
#include "common/HexText.h"
#include "common/NumberText.h"
#include "tools/TimeFloatExpression.h"
#include "tools/TimeFormats.h"
#include "tools/TimeParse.h"
#include "tools/TimeText.h"

namespace qv {
namespace {

constexpr uint32_t kDumpOptions = 0xA0002000;  // ":" and "XX " per byte
constexpr int kRepaintDelayTicks = 2;
constexpr uint32_t kNoField = 0xFFFFFFFF;

std::string Dump(const uint8_t* bytes, size_t count) { return BytesToHexText(bytes, count, kDumpOptions); }

template <typename T>
std::string DumpValue(T value)
{
    uint8_t bytes[sizeof(T)];
    for (size_t i = 0; i < sizeof(T); ++i) bytes[i] = static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i));
    return Dump(bytes, sizeof(T));
}

// Reads up to `size` bytes (missing ones 0); false when text is left that is no dump.
bool ReadDump(std::string_view text, uint8_t* out, size_t size)
{
    for (size_t i = 0; i < size; ++i) out[i] = 0;
    size_t consumed = 0;
    HexTextToBytes(out, static_cast<uint32_t>(size), text, &consumed);
    text = text.substr(0, text.find('\0'));
    return consumed >= text.size();
}

template <typename T>
bool ReadDumpValue(std::string_view text, T& value)
{
    uint8_t bytes[sizeof(T)];
    bool complete = ReadDump(text, bytes, sizeof(T));
    value = 0;
    for (size_t i = 0; i < sizeof(T); ++i) value = static_cast<T>(value | static_cast<T>(T{bytes[i]} << (8 * i)));
    return complete;
}

// "%.14g", with ".0" when the text has neither a point nor an exponent.
std::string OleText(double value)
{
    char text[64];
    auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 14);
    std::string result(text, error == std::errc() ? end : text);
    if (result.find_first_of(".e") == std::string::npos) result += ".0";
    return result;
}

bool CarriesMilliseconds(TimeField field)
{
    return field != TimeField::Seconds && field != TimeField::SecondsDump && field != TimeField::Dos;
}

uint32_t Channel(uint32_t colour, int shift) { return (colour >> shift) & 0xFF; }

uint32_t MakeColour(uint32_t red, uint32_t green, uint32_t blue)
{
    return (red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16;
}

uint32_t Mean(uint32_t a, uint32_t b)
{
    return MakeColour((Channel(a, 0) + Channel(b, 0)) / 2, (Channel(a, 8) + Channel(b, 8)) / 2,
                      (Channel(a, 16) + Channel(b, 16)) / 2);
}

uint32_t Reddened(uint32_t colour)
{
    return MakeColour(Channel(colour, 0) / 2 + 127, Channel(colour, 8) / 2 + 45, Channel(colour, 16) / 2 + 45);
}

}  // namespace

TimeFieldColours MakeTimeFieldColours(uint32_t windowColour, uint32_t toolTipColour)
{
    TimeFieldColours colours;
    colours.normal = windowColour & 0xFFFFFF;
    colours.source = Mean(windowColour, toolTipColour);
    colours.invalid = Reddened(colours.normal);
    colours.invalidSource = Reddened(colours.source);
    return colours;
}

TimeStartInput TimeStartFromBytes(TimeReadMode mode, const std::vector<uint8_t>& bytes)
{
    auto dump = [&](TimeField field, size_t size) {
        std::vector<uint8_t> padded(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(std::min(size, bytes.size())));
        padded.resize(size, 0);
        return TimeStartInput{field, Dump(padded.data(), size)};
    };
    switch (mode) {
    case TimeReadMode::LastInput: return {};
    case TimeReadMode::Text: {
        std::string text;
        for (size_t i = 0; i < bytes.size() && i < 63 && bytes[i] != 0; ++i) text += static_cast<char>(bytes[i]);
        return {TimeField::Text, text};
    }
    case TimeReadMode::UtcSeconds: return dump(TimeField::SecondsDump, 4);
    case TimeReadMode::Dos: return dump(TimeField::Dos, 4);
    case TimeReadMode::Ole: return dump(TimeField::OleDump, 8);
    case TimeReadMode::FileTime: return dump(TimeField::FileTimeDump, 8);
    case TimeReadMode::DbTimestamp: return dump(TimeField::Timestamp, 16);
    case TimeReadMode::SystemTime: return dump(TimeField::SystemTime, 16);
    case TimeReadMode::DbDate: return dump(TimeField::Timestamp, 6);
    }
    return {};
}

TimeConverterModel::TimeConverterModel(ISettingsStore* settings, ITimerService* timers, std::vector<uint8_t> bytes,
                                       TimeReadMode mode)
    : settings_(settings), timers_(timers), bytes_(std::move(bytes)), mode_(mode)
{
    if (bytes_.size() > kTimeConverterMaxBytes) bytes_.resize(kTimeConverterMaxBytes);
}

TimeConverterModel::~TimeConverterModel()
{
    if (timers_ && timerId_) timers_->Stop(timerId_);
}

void TimeConverterModel::SetBaseColours(uint32_t windowColour, uint32_t toolTipColour)
{
    colours_ = MakeTimeFieldColours(windowColour, toolTipColour);
}

void TimeConverterModel::Open()
{
    std::optional<uint32_t> focus, zone;
    std::optional<std::string> text;
    if (settings_) {
        focus = settings_->ReadDword(kTimeConvertSection, "Focus");
        zone = settings_->ReadDword(kTimeConvertSection, "Mode");
        text = settings_->ReadString(kTimeConvertSection, "Text");
    }
    if (zone) local_ = *zone == 0;

    TimeStartInput start = TimeStartFromBytes(mode_, bytes_);
    if (mode_ == TimeReadMode::LastInput && focus && *focus < static_cast<uint32_t>(kTimeFieldCount))
        start = {static_cast<TimeField>(*focus), text.value_or("")};
    if (start.field && !start.text.empty()) EditField(*start.field, start.text);

    if (timers_ && !timerId_) timerId_ = timers_->Start(kTimeConverterTickMs, [this] { Tick(); });
}

void TimeConverterModel::Close()
{
    if (timers_ && timerId_) timers_->Stop(timerId_);
    timerId_ = 0;
    if (!settings_) return;
    settings_->WriteDword(kTimeConvertSection, "Focus", source_ ? static_cast<uint32_t>(*source_) : kNoField);
    settings_->WriteString(kTimeConvertSection, "Text", source_ ? Text(*source_) : std::string());
    settings_->WriteDword(kTimeConvertSection, "Mode", local_ ? 0 : 1);
}

void TimeConverterModel::EditField(TimeField field, std::string_view text)
{
    fields_[Index(field)].text = std::string(text);
    FocusField(field);
    bool valid = ConvertToHub(field);
    SetValidity(field, valid);
    RewriteFrom(field, valid);
}

void TimeConverterModel::FocusField(TimeField field)
{
    if (source_ == field) return;
    if (source_) RequestRepaint(*source_);
    source_ = field;
    RequestRepaint(field);
}

void TimeConverterModel::SetLocal(bool local)
{
    local_ = local;
    if (source_) EditField(*source_, std::string(Text(*source_)));
}

void TimeConverterModel::SetNow(int64_t secondsSince1970)
{
    EditField(TimeField::Seconds, std::to_string(secondsSince1970));
}

void TimeConverterModel::PressNow()
{
    auto now = std::chrono::system_clock::now().time_since_epoch();
    SetNow(std::chrono::duration_cast<std::chrono::seconds>(now).count());
}

uint32_t TimeConverterModel::ColourOf(TimeField field) const
{
    bool isSource = source_ == field;
    if (IsValid(field)) return isSource ? colours_.source : colours_.normal;
    return isSource ? colours_.invalidSource : colours_.invalid;
}

std::vector<TimeField> TimeConverterModel::TakeRepaints()
{
    std::vector<TimeField> taken;
    taken.swap(repaints_);
    return taken;
}

void TimeConverterModel::Tick()
{
    for (int i = 0; i < kTimeFieldCount; ++i) {
        FieldState& state = fields_[static_cast<size_t>(i)];
        if (state.pendingTicks > 0 && --state.pendingTicks == 0) RequestRepaint(static_cast<TimeField>(i));
    }
    if (!repaints_.empty() && onRepaintsDue) onRepaintsDue();
}

void TimeConverterModel::SetValidity(TimeField field, bool valid)
{
    FieldState& state = fields_[Index(field)];
    if (state.valid == valid) return;
    state.valid = valid;
    state.pendingTicks = kRepaintDelayTicks;
}

void TimeConverterModel::RequestRepaint(TimeField field)
{
    for (TimeField pending : repaints_)
        if (pending == field) return;
    repaints_.push_back(field);
}

bool TimeConverterModel::ConvertToHub(TimeField field)
{
    const std::string& text = Text(field);
    switch (field) {
    case TimeField::Text: {
        ParsedTime parsed = ParseTimeText(text);
        if (parsed.found == 0) return false;  // nothing readable
        uint64_t year = (parsed.found & kFoundYear) ? parsed.year : 2000;
        uint64_t month = (parsed.found & kFoundMonth) ? parsed.month : 1;
        uint64_t day = (parsed.found & kFoundDay) ? parsed.day : 1;
        bool fits = year <= 32767 && month <= 0xFFFF && day <= 0xFFFF;
        DbTimestamp stamp;
        stamp.year = static_cast<int16_t>(year);
        stamp.month = static_cast<uint16_t>(month);
        stamp.day = static_cast<uint16_t>(day);
        stamp.hour = static_cast<uint16_t>(parsed.hour);
        stamp.minute = static_cast<uint16_t>(parsed.minute);
        stamp.second = static_cast<uint16_t>(parsed.second);
        stamp.fraction = parsed.fraction;
        bool valid = TimestampToCalendar(stamp, hub_) && fits;
        if (local_) {
            CalendarTime universal;
            if (LocalToUniversal(hub_, universal))
                hub_ = universal;
            else
                valid = false;
        }
        return valid;
    }
    case TimeField::Seconds: {
        int32_t seconds = 0;
        bool ok = false;
        EvaluateExpression(text, seconds, &ok);
        return SecondsToCalendar(seconds, hub_) && ok;
    }
    case TimeField::SecondsDump: {
        uint32_t seconds = 0;
        bool complete = ReadDumpValue(text, seconds);
        return SecondsToCalendar(static_cast<int32_t>(seconds), hub_) && complete;
    }
    case TimeField::Dos: {
        uint32_t dos = 0;
        bool complete = ReadDumpValue(text, dos);
        return DosToCalendar(dos, hub_) && complete;
    }
    case TimeField::Ole: {
        double ole = 0.0;
        bool ok = EvaluateFloatExpression(text, ole);
        return OleToCalendar(ole, hub_) && ok;
    }
    case TimeField::OleDump: {
        uint64_t bits = 0;
        bool complete = ReadDumpValue(text, bits);
        return OleToCalendar(std::bit_cast<double>(bits), hub_) && complete;
    }
    case TimeField::FileTime: {
        size_t consumed = 0;
        uint64_t fileTime = static_cast<uint64_t>(ParseNumber64(text, kNumberAuto | kNumberEatTrailingBlanks, &consumed));
        bool complete = consumed > 0 && consumed >= text.substr(0, text.find('\0')).size();
        return FileTimeToCalendar(fileTime, hub_) && complete;
    }
    case TimeField::FileTimeDump: {
        uint64_t fileTime = 0;
        bool complete = ReadDumpValue(text, fileTime);
        return FileTimeToCalendar(fileTime, hub_) && complete;
    }
    case TimeField::Timestamp: {
        uint8_t bytes[16];
        bool complete = ReadDump(text, bytes, sizeof bytes);
        return TimestampToCalendar(DbTimestamp::FromBytes(bytes, sizeof bytes), hub_) && complete;
    }
    case TimeField::SystemTime: {
        uint8_t bytes[16];
        ReadDump(text, bytes, sizeof bytes);
        hub_ = CalendarTime::FromBytes(bytes, sizeof bytes);
        return true;  // the bytes are the record itself
    }
    }
    return false;
}

void TimeConverterModel::RewriteFrom(TimeField source, bool sourceValid)
{
    for (int i = 0; i < kTimeFieldCount; ++i) {
        auto field = static_cast<TimeField>(i);
        if (field == source) continue;
        bool valid = true;
        std::string text = FieldFromHub(field, valid);
        if (field == TimeField::Text) valid = sourceValid;
        fields_[Index(field)].text = std::move(text);
        SetValidity(field, valid);
    }
}

std::string TimeConverterModel::FieldFromHub(TimeField field, bool& valid) const
{
    switch (field) {
    case TimeField::Text: {
        uint32_t options = source_ && CarriesMilliseconds(*source_) ? kTextConverterFormMs : kTextConverterForm;
        if (local_) options |= kTextToLocal;
        valid = true;
        return FormatCalendarText(hub_, options);
    }
    case TimeField::Seconds:
    case TimeField::SecondsDump: {
        uint32_t seconds = 0;
        valid = CalendarToSeconds(hub_, seconds);
        return field == TimeField::Seconds ? FormatNumber(static_cast<int32_t>(seconds), kStyleUnsigned)
                                           : DumpValue(seconds);
    }
    case TimeField::Dos: {
        uint32_t dos = 0;
        valid = CalendarToDos(hub_, dos);
        return DumpValue(dos);
    }
    case TimeField::Ole:
    case TimeField::OleDump: {
        double ole = 0.0;
        valid = CalendarToOle(hub_, ole);
        return field == TimeField::Ole ? OleText(ole) : DumpValue(std::bit_cast<uint64_t>(ole));
    }
    case TimeField::FileTime:
    case TimeField::FileTimeDump: {
        uint64_t fileTime = 0;
        valid = CalendarToFileTime(hub_, fileTime);
        return field == TimeField::FileTime ? FormatNumber64(static_cast<int64_t>(fileTime), kStyleHexPrefix)
                                            : DumpValue(fileTime);
    }
    case TimeField::Timestamp: {
        DbTimestamp stamp;
        valid = CalendarToTimestamp(hub_, stamp);
        auto bytes = stamp.ToBytes();
        return Dump(bytes.data(), bytes.size());
    }
    case TimeField::SystemTime: {
        valid = true;
        auto bytes = hub_.ToBytes();
        return Dump(bytes.data(), bytes.size());
    }
    }
    valid = false;
    return {};
}

}  // namespace qv
