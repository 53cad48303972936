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

CrcDialogModel::CrcDialogModel(ToolBytes input, ILongTaskRunner* runner) : input_(input), runner_(runner) {}

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
    fromZero_.reset();
    attempted_.reset();
    Recompute(CrcChange::Other);
}

void CrcDialogModel::Changed(CrcChange change)
{
    if (fields_.Update(change)) Recompute(change);
}

CrcDialogModel::Polynomial CrcDialogModel::CurrentPolynomial() const
{
    return {fields_.Width(), fields_.Reflected(), fields_.Normal()};
}

bool CrcDialogModel::RunPendingPass()
{
    if (!pending_) return true;
    const bool done = RunPass(*runner_);
    ShowResults();
    return done;
}

bool CrcDialogModel::RunPass(ILongTaskRunner& runner)
{
    pending_ = false;
    attempted_ = CurrentPolynomial();
    std::optional<CrcFromZero> fromZero;
    const bool done = runner.Run(kTaskTitle, [&](TaskProgress& progress) {
        CrcCalculator::Pass pass = calculator_.StartPass(static_cast<uint64_t>(input_.length));
        if (ReadToolBytes(input_, progress, [&](std::span<const uint8_t> bytes) { pass.Add(bytes.data(), bytes.size()); }))
            fromZero = pass.Result();
    });
    if (!done || !fromZero) return false;
    fromZero_ = fromZero;
    passPolynomial_ = *attempted_;
    return true;
}

void CrcDialogModel::ShowResults()
{
    const unsigned width = fields_.Width();
    results_.reset();
    if (input_.length < static_cast<int64_t>(kCrcShortInput)) {
        std::vector<uint8_t> scratch;
        const std::span<const uint8_t> bytes =
            input_.source ? input_.source->Window(input_.offset, input_.length, scratch) : std::span<const uint8_t>();
        results_ = calculator_.Compute(fields_.Start(), invert_, bytes.data(), bytes.size());
    } else if (fromZero_ && passPolynomial_ == CurrentPolynomial()) {
        results_ = calculator_.Combine(fields_.Start(), invert_, *fromZero_, static_cast<uint64_t>(input_.length));
    }
    for (int i = 0; i < kResultCount; ++i) resultTexts_[i] = results_ ? FormatCrcValue((*results_)[i], width) : "";
}

void CrcDialogModel::Recompute(CrcChange change)
{
    const unsigned width = fields_.Width();
    calculator_.SetPolynomial(width, fields_.Reflected(), fields_.Normal());
    const Polynomial polynomial = CurrentPolynomial();
    if (input_.length < static_cast<int64_t>(kCrcShortInput) || (fromZero_ && passPolynomial_ == polynomial)) {
        pending_ = false;
    } else if (!runner_ || input_.length < kCrcImmediateLimit) {
        InlineTaskRunner now;
        RunPass(now);
    } else {
        // A cancelled pass runs again only when the user edits the polynomial.
        const bool edited = change != CrcChange::Start && change != CrcChange::Other;
        pending_ = pending_ || attempted_ != polynomial || edited;
    }
    ShowResults();

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
    return FormatTextString("%lld / 0x%04llX", static_cast<long long>(input_.length),
                            static_cast<unsigned long long>(input_.length));
}

}  // namespace qv
