// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The field synchronisation of the CRC dialog: catalogue pick, width, polynomial in both
// bit orders, formula and start value always describe one CRC. Each change runs one
// update that reads the fields, derives the values, and rewrites every field except the
// one that changed. Texts that were typed are remembered, so narrowing the width and
// widening it again restores the typed polynomial and start value.
#include <cstdint>
#include <string>

namespace qv {

enum class CrcChange { Catalog, Width, Reflected, Normal, Formula, Start, Other };

class CrcFields {
public:
    CrcFields();

    // What the fields show (8-bit texts). The dialog writes the user's edits here and
    // then calls Update with what changed.
    size_t catalogIndex = 0;
    std::string widthText;
    std::string reflectedText;
    std::string normalText;
    std::string formulaText;
    std::string startText;

    // Runs the update for a change; false when an update is already running (the
    // notifications caused by rewriting the fields are ignored that way).
    bool Update(CrcChange change);

    // The values after the last update.
    unsigned Width() const { return width_; }
    uint64_t Mask() const { return mask_; }
    uint64_t Reflected() const { return reflected_; }
    uint64_t Normal() const { return normal_; }
    uint64_t Start() const { return start_; }
    // The formula could not be read: its field is shown with the light-red background.
    bool FormulaInvalid() const { return formulaInvalid_; }

    // "%u-Bit" for a width: the lines of the width list have this form.
    static std::string WidthText(unsigned width);

private:
    void Remember(CrcChange change);
    void RewriteFields(CrcChange change);

    unsigned width_ = 32;
    uint64_t mask_ = 0xFFFFFFFF;
    uint64_t reflected_ = 0;
    uint64_t normal_ = 0;
    uint64_t start_ = 0;
    bool formulaInvalid_ = false;

    std::string rememberedPolynomial_;
    bool polynomialRemembered_ = false;
    std::string rememberedStart_;
    bool startRemembered_ = false;

    bool updating_ = false;
};

// Light-red background of an unreadable formula, 0x00BBGGRR (red 255, green 128, blue 128).
inline constexpr uint32_t kCrcInvalidFormulaColor = 0x008080FF;

}  // namespace qv
