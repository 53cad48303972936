// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/TimeModeDialog.h"

namespace qv {

void TimeModeModel::Load(const ISettingsStore* settings)
{
    std::optional<uint32_t> stored = settings ? settings->ReadDword(kTimeConvertSection, "SelMode") : std::nullopt;
    mode = stored && *stored < static_cast<uint32_t>(kTimeReadModeCount) ? static_cast<TimeReadMode>(*stored)
                                                                          : TimeReadMode::LastInput;
}

void TimeModeModel::Store(ISettingsStore* settings) const
{
    if (settings) settings->WriteDword(kTimeConvertSection, "SelMode", static_cast<uint32_t>(mode));
}

bool OpenTimeConverter(IDialogService& dialogs, ISettingsStore* settings, ITimerService* timers,
                       const std::optional<std::vector<uint8_t>>& bytes)
{
    TimeModeModel modeDialog;
    modeDialog.Load(settings);
    if (!dialogs.Run(modeDialog)) return false;
    modeDialog.Store(settings);
    if (!bytes) return false;

    TimeConverterModel converter(settings, timers, *bytes, modeDialog.mode);
    converter.Open();
    dialogs.Run(converter);  // OK and Escape alike keep the state; nothing comes back
    converter.Close();
    return true;
}

}  // namespace qv
