// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/QtSettingsStore.h"

#include "platform/qt/QtText.h"

namespace qv {
namespace {



// "Hex" + "Font" -> "Hex/Font"; values of the root section stay in INI's [General].
QString KeyOf(std::string_view section, std::string_view name)
{
    return section.empty() ? ToQt(name) : ToQt(section) + "/" + ToQt(name);
}

}  // namespace

QtSettingsStore::QtSettingsStore(QSettings::Scope scope)
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, scope, "QV", "Quarnival"))
{
}

QtSettingsStore::QtSettingsStore(const QString& iniPath)
    : settings_(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
}

QVariant QtSettingsStore::Value(std::string_view section, std::string_view name) const
{
    return settings_->value(KeyOf(section, name));
}

std::optional<uint32_t> QtSettingsStore::ReadDword(std::string_view section, std::string_view name) const
{
    QVariant value = Value(section, name);
    if (!value.isValid()) return std::nullopt;
    bool ok = false;
    // Stored as a number, but a hand-edited "0x..." or negative value is read too.
    qlonglong number = value.toString().toLongLong(&ok, 0);
    if (!ok) return std::nullopt;
    return static_cast<uint32_t>(number);
}

std::optional<std::string> QtSettingsStore::ReadString(std::string_view section, std::string_view name) const
{
    QVariant value = Value(section, name);
    if (!value.isValid()) return std::nullopt;
    if (value.typeId() == QMetaType::QStringList) return FromQt(value.toStringList().join(","));
    return FromQt(value.toString());
}

std::optional<std::vector<std::string>> QtSettingsStore::ReadMultiString(std::string_view section,
                                                                          std::string_view name) const
{
    QVariant value = Value(section, name);
    if (!value.isValid()) return std::nullopt;
    std::vector<std::string> texts;
    const QStringList list = value.typeId() == QMetaType::QStringList ? value.toStringList()
                                                                       : QStringList{value.toString()};
    for (const QString& text : list) texts.push_back(FromQt(text));
    if (texts.size() == 1 && texts[0].empty()) texts.clear();
    return texts;
}

std::optional<std::vector<uint8_t>> QtSettingsStore::ReadBinary(std::string_view section, std::string_view name) const
{
    QVariant value = Value(section, name);
    if (!value.isValid()) return std::nullopt;
    QByteArray bytes = value.toByteArray();
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

void QtSettingsStore::WriteDword(std::string_view section, std::string_view name, uint32_t value)
{
    settings_->setValue(KeyOf(section, name), static_cast<qlonglong>(static_cast<int32_t>(value)));
}

void QtSettingsStore::WriteString(std::string_view section, std::string_view name, std::string_view value)
{
    settings_->setValue(KeyOf(section, name), ToQt(value));
}

void QtSettingsStore::WriteMultiString(std::string_view section, std::string_view name,
                                       const std::vector<std::string>& values)
{
    QStringList list;
    for (const auto& text : values) list << ToQt(text);
    settings_->setValue(KeyOf(section, name), list);
}

void QtSettingsStore::WriteBinary(std::string_view section, std::string_view name, const std::vector<uint8_t>& bytes)
{
    settings_->setValue(KeyOf(section, name),
                        QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
}

std::optional<std::string> QtSettingsStore::ReadUtf8String(std::string_view section, std::string_view name) const
{
    QVariant value = Value(section, name);
    if (!value.isValid()) return std::nullopt;
    return value.toString().toStdString();
}

void QtSettingsStore::WriteUtf8String(std::string_view section, std::string_view name, std::string_view utf8)
{
    settings_->setValue(KeyOf(section, name), Utf8ToQt(utf8));
}

std::vector<std::string> QtSettingsStore::ValueNames(std::string_view section) const
{
    settings_->beginGroup(ToQt(section));
    const QStringList keys = settings_->childKeys();
    settings_->endGroup();
    std::vector<std::string> names;
    for (const QString& key : keys) names.push_back(FromQt(key));
    return names;
}

std::vector<std::string> QtSettingsStore::SubSections(std::string_view section) const
{
    settings_->beginGroup(ToQt(section));
    const QStringList groups = settings_->childGroups();
    settings_->endGroup();
    std::vector<std::string> names;
    for (const QString& group : groups) names.push_back(FromQt(group));
    return names;
}

void QtSettingsStore::DeleteValue(std::string_view section, std::string_view name)
{
    settings_->remove(KeyOf(section, name));
}

void QtSettingsStore::DeleteSection(std::string_view section)
{
    settings_->remove(ToQt(section));
}

}  // namespace qv
