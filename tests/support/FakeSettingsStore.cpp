// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/FakeSettingsStore.h"

#include <set>

namespace qv::test {

template <typename T>
std::optional<T> FakeSettingsStore::Read(std::string_view section, std::string_view name) const
{
    auto it = values.find({std::string(section), std::string(name)});
    if (it == values.end() || !std::holds_alternative<T>(it->second)) return std::nullopt;
    return std::get<T>(it->second);
}

std::optional<uint32_t> FakeSettingsStore::ReadDword(std::string_view section, std::string_view name) const
{
    return Read<uint32_t>(section, name);
}
std::optional<std::string> FakeSettingsStore::ReadString(std::string_view section, std::string_view name) const
{
    return Read<std::string>(section, name);
}
std::optional<std::vector<std::string>> FakeSettingsStore::ReadMultiString(std::string_view section,
                                                                            std::string_view name) const
{
    return Read<std::vector<std::string>>(section, name);
}
std::optional<std::vector<uint8_t>> FakeSettingsStore::ReadBinary(std::string_view section,
                                                                   std::string_view name) const
{
    return Read<std::vector<uint8_t>>(section, name);
}
void FakeSettingsStore::WriteDword(std::string_view section, std::string_view name, uint32_t value)
{
    values[{std::string(section), std::string(name)}] = value;
}
void FakeSettingsStore::WriteString(std::string_view section, std::string_view name, std::string_view value)
{
    values[{std::string(section), std::string(name)}] = std::string(value);
}
void FakeSettingsStore::WriteMultiString(std::string_view section, std::string_view name,
                                         const std::vector<std::string>& list)
{
    values[{std::string(section), std::string(name)}] = list;
}
void FakeSettingsStore::WriteBinary(std::string_view section, std::string_view name,
                                    const std::vector<uint8_t>& bytes)
{
    values[{std::string(section), std::string(name)}] = bytes;
}

std::vector<std::string> FakeSettingsStore::ValueNames(std::string_view section) const
{
    std::vector<std::string> names;
    for (const auto& [key, value] : values)
        if (key.first == section) names.push_back(key.second);
    return names;
}

std::vector<std::string> FakeSettingsStore::SubSections(std::string_view section) const
{
    std::set<std::string> children;
    const std::string prefix = section.empty() ? "" : std::string(section) + "/";
    for (const auto& [key, value] : values) {
        if (key.first.size() <= prefix.size() || key.first.compare(0, prefix.size(), prefix) != 0) continue;
        children.insert(key.first.substr(prefix.size(), key.first.find('/', prefix.size()) - prefix.size()));
    }
    return {children.begin(), children.end()};
}

void FakeSettingsStore::DeleteValue(std::string_view section, std::string_view name)
{
    values.erase({std::string(section), std::string(name)});
}

void FakeSettingsStore::DeleteSection(std::string_view section)
{
    const std::string prefix = std::string(section) + "/";
    for (auto it = values.begin(); it != values.end();) {
        const std::string& s = it->first.first;
        if (s == section || s.compare(0, prefix.size(), prefix) == 0)
            it = values.erase(it);
        else
            ++it;
    }
}

}  // namespace qv::test
