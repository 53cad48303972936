// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Persistent settings below the program's root ("Software\QV\Quarnival").
// A section is a path of names separated by '/'; the empty section is the root.
// Strings are 8-bit Windows-1252 texts, like every text inside the std-only code.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/CodePage.h"

namespace qv {

class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;

    virtual std::optional<uint32_t> ReadDword(std::string_view section, std::string_view name) const = 0;
    virtual std::optional<std::string> ReadString(std::string_view section, std::string_view name) const = 0;
    virtual std::optional<std::vector<std::string>> ReadMultiString(std::string_view section,
                                                                     std::string_view name) const = 0;
    virtual std::optional<std::vector<uint8_t>> ReadBinary(std::string_view section, std::string_view name) const = 0;

    virtual void WriteDword(std::string_view section, std::string_view name, uint32_t value) = 0;
    virtual void WriteString(std::string_view section, std::string_view name, std::string_view value) = 0;
    virtual void WriteMultiString(std::string_view section, std::string_view name,
                                  const std::vector<std::string>& values) = 0;
    virtual void WriteBinary(std::string_view section, std::string_view name, const std::vector<uint8_t>& bytes) = 0;

    // Texts that may leave the code page (typed page headers) in UTF-8. A store that holds
    // only 8-bit texts keeps them in the code page.
    virtual std::optional<std::string> ReadUtf8String(std::string_view section, std::string_view name) const
    {
        std::optional<std::string> text = ReadString(section, name);
        if (text) *text = Cp1252ToUtf8(*text);
        return text;
    }
    virtual void WriteUtf8String(std::string_view section, std::string_view name, std::string_view utf8)
    {
        WriteString(section, name, Utf8ToCp1252(utf8));
    }

    virtual std::vector<std::string> ValueNames(std::string_view section) const = 0;
    virtual std::vector<std::string> SubSections(std::string_view section) const = 0;
    virtual void DeleteValue(std::string_view section, std::string_view name) = 0;
    virtual void DeleteSection(std::string_view section) = 0;
};

// The two stores the program reads: machine-wide defaults first, then the user's own values.
struct SettingsStores {
    ISettingsStore* user = nullptr;
    ISettingsStore* machine = nullptr;
};

}  // namespace qv
