// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dialog "CRC-Summe berechnen": the synchronised CRC fields, the invert box, the
// source choice with its generated text, the nine results over the input bytes, and the
// histories and values kept in the settings section "HexCrcCalc".
#include <array>
#include <string>
#include <vector>

#include "platform/DialogService.h"
#include "platform/SettingsStore.h"
#include "tools/ChecksumInput.h"
#include "tools/CrcCalculator.h"
#include "tools/CrcFields.h"

namespace qv {

class CrcDialogModel : public DialogModel {
public:
    static constexpr const char* kSection = "HexCrcCalc";
    static constexpr int kResultCount = 9;
    static constexpr int kSourceNone = 0;  // "keiner"; 1..3: "Algo. A", "Algo. B", "Algo. C"

    explicit CrcDialogModel(ToolBytes input);

    const char* DialogName() const override { return "CrcCalc"; }

    // Opening: the values and histories from the settings (user first, then machine-wide),
    // then an "other" update.
    void Load(const SettingsStores& settings);
    // OK: values and histories back into the user's settings.
    void Save(ISettingsStore& settings) const;

    CrcFields& Fields() { return fields_; }
    const CrcFields& Fields() const { return fields_; }

    bool Invert() const { return invert_; }
    void SetInvert(bool on);
    int Source() const { return source_; }
    void SetSource(int source);
    // Replaces the bytes the results are computed over and recomputes them once.
    void SetInput(ToolBytes input);

    // Runs the field synchronisation for a change, then tables, source and results.
    void Changed(CrcChange change);

    static const char* ResultLabel(int index);
    static const char* SourceLabel(int index);  // 0..3
    static const std::vector<std::string>& WidthLines();
    const std::string& ResultText(int index) const { return resultTexts_[index]; }
    const CrcResults& Results() const { return results_; }
    const std::string& SourceText() const { return sourceText_; }
    // "Speicherlänge :" as "%i / 0x%04X".
    std::string LengthText() const;

    // Histories of the reflected, normal and start combos, most recent first.
    const std::vector<std::string>& ReflectedHistory() const { return reflectedHistory_; }
    const std::vector<std::string>& NormalHistory() const { return normalHistory_; }
    const std::vector<std::string>& StartHistory() const { return startHistory_; }

private:
    void Recompute();

    ToolBytes input_;
    CrcFields fields_;
    CrcCalculator calculator_;
    bool invert_ = false;
    int source_ = kSourceNone;
    CrcResults results_{};
    std::array<std::string, kResultCount> resultTexts_;
    std::string sourceText_;
    std::vector<std::string> reflectedHistory_, normalHistory_, startHistory_;
};

}  // namespace qv
