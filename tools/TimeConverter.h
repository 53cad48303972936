// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The time converter dialog "TimeConvert": one point in time (kept in UTC) shown in ten
// fields at once. Editing a field converts it to the hub and rewrites every other field;
// the source field and invalid fields are told apart by colour.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DialogService.h"
#include "platform/SettingsStore.h"
#include "platform/Timers.h"
#include "tools/TimeCalendar.h"

namespace qv {

enum class TimeField { Text, Seconds, SecondsDump, Dos, Ole, OleDump, FileTime, FileTimeDump, Timestamp, SystemTime };
inline constexpr int kTimeFieldCount = 10;

// How the caller's bytes are read (the radio buttons of "Zeitmodus", in order).
enum class TimeReadMode { LastInput, Text, UtcSeconds, Dos, Ole, FileTime, DbTimestamp, SystemTime, DbDate };
inline constexpr int kTimeReadModeCount = 9;

inline constexpr const char* kTimeConvertSection = "TimeConvert";
inline constexpr int kTimeConverterTickMs = 150;
inline constexpr size_t kTimeConverterMaxBytes = 64;

// Background colours (0x00BBGGRR) of a field by source and validity.
struct TimeFieldColours {
    uint32_t normal = 0;
    uint32_t source = 0;
    uint32_t invalid = 0;
    uint32_t invalidSource = 0;
};
// Source: mean of the window and tool-tip colours; invalid: half the colour plus (127, 45, 45).
TimeFieldColours MakeTimeFieldColours(uint32_t windowColour, uint32_t toolTipColour);

class TimeConverterModel : public DialogModel {
public:
    // settings and timers may be null (no persistence, no delayed repaints).
    TimeConverterModel(ISettingsStore* settings, ITimerService* timers, std::vector<uint8_t> bytes,
                       TimeReadMode mode);
    ~TimeConverterModel() override;
    const char* DialogName() const override { return "TimeConvert"; }

    // Reads the remembered state, fills the start field from the bytes or the remembered
    // text and starts the repaint timer.
    void Open();
    // The window and tool-tip colours of the platform, which the field colours derive from.
    void SetBaseColours(uint32_t windowColour, uint32_t toolTipColour);
    // OK or Escape: remembers the source field, its text and the zone choice.
    void Close();

    // The user changed a field's text: convert it and rewrite all others.
    void EditField(TimeField field, std::string_view text);
    // The field got the keyboard focus: it becomes the source.
    void FocusField(TimeField field);
    void SetLocal(bool local);
    // "Jetzt": the given count of seconds since 1970 goes into the seconds field.
    void SetNow(int64_t secondsSince1970);
    void PressNow();

    const std::string& Text(TimeField field) const { return fields_[Index(field)].text; }
    bool IsValid(TimeField field) const { return fields_[Index(field)].valid; }
    std::optional<TimeField> Source() const { return source_; }
    bool IsLocal() const { return local_; }
    const CalendarTime& Hub() const { return hub_; }
    // The colour the field is to be painted in now.
    uint32_t ColourOf(TimeField field) const;
    // Fields whose colour must be repainted now (validity changes after their delay, old
    // and new source after a focus change); the list is emptied by the call.
    std::vector<TimeField> TakeRepaints();
    // One timer tick: counts down the delayed repaints.
    void Tick();
    // Called after a tick that left repaints to take (the widget repaints then).
    std::function<void()> onRepaintsDue;

private:
    struct FieldState {
        std::string text;
        bool valid = true;
        int pendingTicks = 0;  // ticks until a validity change is repainted
    };

    static size_t Index(TimeField field) { return static_cast<size_t>(field); }
    void SetValidity(TimeField field, bool valid);
    bool ConvertToHub(TimeField field);
    void RewriteFrom(TimeField source, bool sourceValid);
    std::string FieldFromHub(TimeField field, bool& valid) const;
    void RequestRepaint(TimeField field);

    ISettingsStore* settings_;
    ITimerService* timers_;
    std::vector<uint8_t> bytes_;
    TimeReadMode mode_;
    std::array<FieldState, kTimeFieldCount> fields_{};
    std::optional<TimeField> source_;
    bool local_ = true;
    CalendarTime hub_{};
    TimeFieldColours colours_ = MakeTimeFieldColours(0xFFFFFF, 0xE1FFFF);
    int timerId_ = 0;
    std::vector<TimeField> repaints_;
};

// The field and text the read mode starts with; the text is empty when there is nothing.
struct TimeStartInput {
    std::optional<TimeField> field;
    std::string text;
};
TimeStartInput TimeStartFromBytes(TimeReadMode mode, const std::vector<uint8_t>& bytes);

}  // namespace qv
