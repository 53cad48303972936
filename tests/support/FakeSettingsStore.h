// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// In-memory settings store for tests.
#include <map>
#include <variant>

#include "platform/SettingsStore.h"

namespace qv::test {

class FakeSettingsStore : public ISettingsStore {
public:
    using Value = std::variant<uint32_t, std::string, std::vector<std::string>, std::vector<uint8_t>>;

    std::optional<uint32_t> ReadDword(std::string_view section, std::string_view name) const override;
    std::optional<std::string> ReadString(std::string_view section, std::string_view name) const override;
    std::optional<std::vector<std::string>> ReadMultiString(std::string_view section,
                                                             std::string_view name) const override;
    std::optional<std::vector<uint8_t>> ReadBinary(std::string_view section, std::string_view name) const override;
    void WriteDword(std::string_view section, std::string_view name, uint32_t value) override;
    void WriteString(std::string_view section, std::string_view name, std::string_view value) override;
    void WriteMultiString(std::string_view section, std::string_view name,
                          const std::vector<std::string>& values) override;
    void WriteBinary(std::string_view section, std::string_view name, const std::vector<uint8_t>& bytes) override;
    std::vector<std::string> ValueNames(std::string_view section) const override;
    std::vector<std::string> SubSections(std::string_view section) const override;
    void DeleteValue(std::string_view section, std::string_view name) override;
    void DeleteSection(std::string_view section) override;

    // (section, name) -> value; tests may inspect and preset it directly.
    std::map<std::pair<std::string, std::string>, Value> values;

private:
    template <typename T>
    std::optional<T> Read(std::string_view section, std::string_view name) const;
};

}  // namespace qv::test
