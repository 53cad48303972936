// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/NumberEntrySettings.h"

#include <optional>

namespace qv {

namespace {

std::optional<uint32_t> ReadValue(const SettingsStores& stores, const char* name)
{
    const char* section = NumberEntrySettings::kSection;
    if (stores.user)
        if (auto value = stores.user->ReadDword(section, name)) return value;
    if (stores.machine) return stores.machine->ReadDword(section, name);
    return std::nullopt;
}

}  // namespace

NumberEntrySettings NumberEntrySettings::Load(const SettingsStores& stores)
{
    NumberEntrySettings settings;
    settings.hexDisplay = ReadValue(stores, "BigEndian").value_or(0);
    const uint32_t size = ReadValue(stores, "ValueSize").value_or(1);
    settings.valueSize = (size == 2 || size == 4 || size == 8) ? static_cast<int>(size) : 1;
    settings.lineSize = ReadValue(stores, "LineSize").value_or(16);
    const uint32_t format = ReadValue(stores, "Format").value_or(0);
    settings.format = format <= 3 ? static_cast<int>(format) : 0;
    return settings;
}

void NumberEntrySettings::Save(ISettingsStore& user) const
{
    user.WriteDword(kSection, "BigEndian", hexDisplay);
    user.WriteDword(kSection, "ValueSize", static_cast<uint32_t>(valueSize));
    user.WriteDword(kSection, "LineSize", lineSize);
    user.WriteDword(kSection, "Format", static_cast<uint32_t>(format));
}

void NumberEntrySettings::ApplyTo(NumberEntryDialog& dialog) const
{
    dialog.SetNumber(lineSize, hexDisplay != 0);
    dialog.ChangeValueSize(valueSize);
    dialog.ChangeFormat(format);
}

void NumberEntrySettings::TakeFrom(const NumberEntryDialog& dialog)
{
    lineSize = static_cast<uint32_t>(dialog.Number());
    valueSize = dialog.ValueSize();
    format = dialog.Format();
}

}  // namespace qv
