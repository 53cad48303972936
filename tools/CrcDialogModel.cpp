// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/CrcDialogModel.h"

#include "common/FormatText.h"
#include "tools/CrcSourceGenerator.h"

namespace qv {

namespace {

constexpr size_t kHistoryLimit = 16;

std::optional<std::string> ReadText(const SettingsStores& settings, const char* name)
{
    for (const ISettingsStore* store : {settings.user, settings.machine})
        if (store)
            if (auto value = store->ReadString(CrcDialogModel::kSection, name)) return value;
    return std::nullopt;
}

std::vector<std::string> ReadHistory(const SettingsStores& settings, const char* name)
{
    std::optional<std::vector<std::string>> stored;
    for (const ISettingsStore* store : {settings.user, settings.machine})
        if (store && !stored) stored = store->ReadMultiString(CrcDialogModel::kSection, name);
    std::vector<std::string> history;
    if (!stored) return history;
    for (const std::string& line : *stored) {
        if (line.empty() || history.size() >= kHistoryLimit) continue;
        bool seen = false;
        for (const std::string& kept : history) seen = seen || kept == line;
        if (!seen) history.push_back(line);
    }
    return history;
}

void WriteHistory(ISettingsStore& settings, const char* name, const std::string& current,
                  const std::vector<std::string>& earlier)
{
    if (current.empty()) return;
    std::vector<std::string> lines{current};
    for (const std::string& line : earlier)
        if (lines.size() < kHistoryLimit && !line.empty() && line != current) lines.push_back(line);
    settings.WriteMultiString(CrcDialogModel::kSection, name, lines);
}

std::string TextOrDefault(std::optional<std::string> text, const char* fallback)
{
    return text && !text->empty() ? *text : fallback;
}

}  // namespace

CrcDialogModel::CrcDialogModel(ToolBytes input) : input_(input) {}

const char* CrcDialogModel::ResultLabel(int index)
{
    static const char* const labels[kResultCount] = {
        "Ergebnis :",
        "Ergebnis bei Start 0 :",
        "Ergebnis bei Start ~0 :",
        "Ergebnis Algorithmus B :",
        "Ergebnis bei Start 0  Algo. B :",
        "Ergebnis bei Start ~0  Algo. B :",
        "Ergebnis Algorithmus C :",
        "Ergebnis bei Start 0  Algo. C :",
        "Ergebnis bei Start ~0  Algo. C :",
    };
    return index >= 0 && index < kResultCount ? labels[index] : "";
}

const char* CrcDialogModel::SourceLabel(int index)
{
    static const char* const labels[4] = {"keiner", "Algo. A", "Algo. B", "Algo. C"};
    return index >= 0 && index < 4 ? labels[index] : "";
}

const std::vector<std::string>& CrcDialogModel::WidthLines()
{
    static const std::vector<std::string> lines = {"4-Bit",  "5-Bit",  "7-Bit",  "8-Bit",  "12-Bit",
                                                   "15-Bit", "16-Bit", "24-Bit", "32-Bit", "64-Bit"};
    return lines;
}

void CrcDialogModel::Load(const SettingsStores& settings)
{
    fields_.startText = TextOrDefault(ReadText(settings, "StartValue"), "0xFFFFFFFF");
    fields_.widthText = TextOrDefault(ReadText(settings, "PolynomSize"), "32-Bit");
    fields_.reflectedText = TextOrDefault(ReadText(settings, "PolynomValue"), "0xEDB88320");
    reflectedHistory_ = ReadHistory(settings, "PolynomList");
    normalHistory_ = ReadHistory(settings, "InversList");
    startHistory_ = ReadHistory(settings, "StartList");
    Changed(CrcChange::Other);
}

void CrcDialogModel::Save(ISettingsStore& settings) const
{
    settings.WriteString(kSection, "StartValue", fields_.startText);
    settings.WriteString(kSection, "PolynomSize", fields_.widthText);
    settings.WriteString(kSection, "PolynomValue", fields_.reflectedText);
    WriteHistory(settings, "PolynomList", fields_.reflectedText, reflectedHistory_);
    WriteHistory(settings, "InversList", fields_.normalText, normalHistory_);
    WriteHistory(settings, "StartList", fields_.startText, startHistory_);
}

void CrcDialogModel::SetInvert(bool on)
{
    invert_ = on;
    Changed(CrcChange::Other);
}

void CrcDialogModel::SetSource(int source)
{
    source_ = source >= 0 && source <= 3 ? source : kSourceNone;
    Changed(CrcChange::Other);
}

void CrcDialogModel::SetInput(ToolBytes input)
{
    input_ = input;
    Recompute();
}

void CrcDialogModel::Changed(CrcChange change)
{
    if (fields_.Update(change)) Recompute();
}

void CrcDialogModel::Recompute()
{
    const unsigned width = fields_.Width();
    calculator_.SetPolynomial(width, fields_.Reflected(), fields_.Normal());
    results_ = calculator_.Compute(fields_.Start(), invert_, input_.data, input_.length);
    for (int i = 0; i < kResultCount; ++i) resultTexts_[i] = FormatCrcValue(results_[i], width);

    if (source_ == kSourceNone) {
        sourceText_.clear();
        return;
    }
    const CrcAlgorithm algorithm = static_cast<CrcAlgorithm>(source_ - 1);
    CrcSourceInput in;
    in.width = width;
    in.normal = fields_.Normal();
    in.start = fields_.Start();
    in.reflectedText = fields_.reflectedText;
    in.normalText = fields_.normalText;
    in.table = &calculator_.Table(algorithm);
    sourceText_ = GenerateCrcSource(algorithm, in);
}

std::string CrcDialogModel::LengthText() const
{
    const int length = static_cast<int>(input_.length);
    return FormatTextString("%i / 0x%04X", length, static_cast<unsigned>(length));
}

}  // namespace qv
