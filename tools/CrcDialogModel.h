// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dialog "CRC-Summe berechnen": the synchronised CRC fields, the invert box, the
// source choice with its generated text, the nine results over the input bytes, and the
// histories and values kept in the settings section "HexCrcCalc".
//
// The results need one pass over the input per polynomial; a start value, the invert box
// or the source choice only recombine what the pass gave. With a runner, a pass over a long
// input (kCrcImmediateLimit bytes and more) does not run within the change that asks for
// it: the results stay empty and the pass waits for RunPendingPass, which the dialog calls
// once the user stops typing. A cancelled pass leaves the results empty until the
// polynomial is edited again.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/DialogService.h"
#include "platform/LongTask.h"
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
    // Passes over shorter inputs take well under a tenth of a second and run at once.
    static constexpr int64_t kCrcImmediateLimit = int64_t{64} << 20;
    static constexpr const char* kTaskTitle = "CRC-Summe wird berechnet …";

    // Without a runner every pass runs at once, on the calling thread.
    explicit CrcDialogModel(ToolBytes input, ILongTaskRunner* runner = nullptr);

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

    // A pass over a long input waits to be run.
    bool PassPending() const { return pending_; }
    // Runs the waiting pass through the runner; false when it was cancelled.
    bool RunPendingPass();

    static const char* ResultLabel(int index);
    static const char* SourceLabel(int index);  // 0..3
    static const std::vector<std::string>& WidthLines();
    // Empty while the pass over the input has not run.
    const std::string& ResultText(int index) const { return resultTexts_[index]; }
    const std::optional<CrcResults>& Results() const { return results_; }
    const std::string& SourceText() const { return sourceText_; }
    // "Speicherlänge :" as "%i / 0x%04X" (with 64-bit numbers).
    std::string LengthText() const;

    // Histories of the reflected, normal and start combos, most recent first.
    const std::vector<std::string>& ReflectedHistory() const { return reflectedHistory_; }
    const std::vector<std::string>& NormalHistory() const { return normalHistory_; }
    const std::vector<std::string>& StartHistory() const { return startHistory_; }

private:
    // What a pass depends on: the tables.
    struct Polynomial {
        unsigned width = 0;
        uint64_t reflected = 0, normal = 0;
        bool operator==(const Polynomial&) const = default;
    };
    Polynomial CurrentPolynomial() const;
    void Recompute(CrcChange change);
    bool RunPass(ILongTaskRunner& runner);
    void ShowResults();

    ToolBytes input_;
    ILongTaskRunner* runner_;
    CrcFields fields_;
    CrcCalculator calculator_;
    bool invert_ = false;
    int source_ = kSourceNone;
    std::optional<CrcFromZero> fromZero_;  // the pass over the input for passPolynomial_
    Polynomial passPolynomial_;
    std::optional<Polynomial> attempted_;  // the polynomial of the last pass run or cancelled
    bool pending_ = false;
    std::optional<CrcResults> results_;
    std::array<std::string, kResultCount> resultTexts_;
    std::string sourceText_;
    std::vector<std::string> reflectedHistory_, normalHistory_, startHistory_;
};

}  // namespace qv
