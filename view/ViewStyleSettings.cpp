// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/ViewStyleSettings.h"

#include <charconv>

namespace qv {

namespace {

// A subsection name that is a positive decimal number (nothing else in it).
std::optional<int32_t> EntryIndex(const std::string& name)
{
    int32_t value = 0;
    auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), value);
    if (error != std::errc() || end != name.data() + name.size() || value <= 0) return std::nullopt;
    return value;
}

std::string ColorsSection(const std::string& section)
{
    return section.empty() ? "Colors" : section + "/Colors";
}

}  // namespace

std::optional<FontSpec> LoadFontSpec(const ISettingsStore& store, const std::string& section)
{
    auto bytes = store.ReadBinary(section, "Font");
    if (!bytes) return std::nullopt;
    return FontSpec::FromBytes(*bytes);
}

void StoreFontSpec(ISettingsStore& store, const std::string& section, const FontSpec& spec)
{
    store.WriteBinary(section, "Font", spec.ToBytes());
}

void LoadColorEntries(const ISettingsStore& store, const std::string& section, ColorTable& table)
{
    const std::string colors = ColorsSection(section);
    int read = 0;
    for (const std::string& sub : store.SubSections(colors)) {
        if (read++ >= kMaxStoredColorEntries) break;
        std::optional<int32_t> index = EntryIndex(sub);
        if (!index) continue;
        const std::string key = colors + "/" + sub;
        std::optional<std::string> name = store.ReadString(key, "Name");
        if (!name) continue;
        auto bg = static_cast<Color>(store.ReadDword(key, "BG").value_or(0xFFFFFFFF));
        auto tx = static_cast<Color>(store.ReadDword(key, "TX").value_or(0xFFFFFFFF));
        auto font = static_cast<int32_t>(store.ReadDword(key, "Font").value_or(0));
        int32_t position = table.FindByIndex(*index);
        if (position < 0) {
            table.Add(tx, bg, *name, *index, font);
            continue;
        }
        // A registered entry keeps its own name: it is what the program draws with.
        ColorEntry& entry = table.At(position);
        entry.background = bg;
        entry.text = tx;
        entry.fontStyle = font;
    }
}

void StoreColorEntries(ISettingsStore& store, const std::string& section, const ColorTable& table)
{
    const std::string colors = ColorsSection(section);
    for (const ColorEntry& entry : table.Entries()) {
        if (entry.index <= 0) continue;
        const std::string key = colors + "/" + std::to_string(entry.index);
        store.WriteString(key, "Name", entry.name);
        store.WriteDword(key, "BG", static_cast<uint32_t>(entry.background));
        store.WriteDword(key, "TX", static_cast<uint32_t>(entry.text));
        store.WriteDword(key, "Font", static_cast<uint32_t>(entry.fontStyle));
    }
}

}  // namespace qv
