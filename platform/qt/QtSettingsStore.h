// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings store on QSettings in INI format: the user's file and the machine-wide one
// of organisation "QV", application "Quarnival". Sections are groups; texts are converted
// between Windows-1252 and Unicode here.
#include <QSettings>
#include <memory>

#include "platform/SettingsStore.h"

namespace qv {

class QtSettingsStore : public ISettingsStore {
public:
    explicit QtSettingsStore(QSettings::Scope scope);
    // A store on an explicit INI file (used by tests).
    explicit QtSettingsStore(const QString& iniPath);

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
    std::optional<std::string> ReadUtf8String(std::string_view section, std::string_view name) const override;
    void WriteUtf8String(std::string_view section, std::string_view name, std::string_view utf8) override;
    std::vector<std::string> ValueNames(std::string_view section) const override;
    std::vector<std::string> SubSections(std::string_view section) const override;
    void DeleteValue(std::string_view section, std::string_view name) override;
    void DeleteSection(std::string_view section) override;

    void Sync() { settings_->sync(); }

private:
    QVariant Value(std::string_view section, std::string_view name) const;
    std::unique_ptr<QSettings> settings_;
};

}  // namespace qv
