// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small dialog "Zeitmodus" asking how the bytes at the cursor are to be read, and the
// document command that runs it and then the time converter on those bytes.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/DialogService.h"
#include "platform/SettingsStore.h"
#include "platform/Timers.h"
#include "tools/TimeConverter.h"

namespace qv {

class TimeModeModel : public DialogModel {
public:
    const char* DialogName() const override { return "Zeitmodus"; }

    // "SelMode" of the section "TimeConvert"; values outside the radio buttons count as 0.
    void Load(const ISettingsStore* settings);
    void Store(ISettingsStore* settings) const;

    TimeReadMode mode = TimeReadMode::LastInput;
};

// Asks for the read mode ("SelMode" stored at OK) and opens the converter on the bytes;
// `bytes` is empty when there is no view. Returns whether the converter was shown.
bool OpenTimeConverter(IDialogService& dialogs, ISettingsStore* settings, ITimerService* timers,
                       const std::optional<std::vector<uint8_t>>& bytes);

}  // namespace qv
