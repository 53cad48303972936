// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/CrcFields.h"

#include "common/Bits.h"
#include "common/FormatText.h"
#include "common/NumberText.h"
#include "tools/CrcAlgorithms.h"
#include "tools/CrcCatalog.h"
#include "tools/CrcFormula.h"
#include "tools/CrcSourceGenerator.h"

namespace qv {

namespace {

uint64_t ReadValue(const std::string& text)
{
    return static_cast<uint64_t>(ParseNumber64(text, kNumberAuto));
}

}  // namespace

CrcFields::CrcFields() = default;

std::string CrcFields::WidthText(unsigned width)
{
    return FormatTextString("%u-Bit", width);
}

bool CrcFields::Update(CrcChange change)
{
    if (updating_) return false;
    updating_ = true;

    // 1. Read the fields.
    start_ = ReadValue(startText);
    unsigned width = static_cast<uint32_t>(ParseNumber(widthText, kNumberAuto));
    reflected_ = ReadValue(reflectedText);
    normal_ = ReadValue(normalText);

    // 2./3. A catalogue pick or a readable formula decides width and polynomial.
    bool normalDecides = change == CrcChange::Normal;
    if (change == CrcChange::Catalog && catalogIndex > 0) {
        const CrcCatalogEntry& entry = CrcCatalogAt(catalogIndex);
        width = entry.width;
        reflected_ = entry.reflected;
        normalDecides = false;
    }
    if (change == CrcChange::Formula) {
        const CrcFormula formula = ParseCrcFormula(formulaText);
        formulaInvalid_ = !formula.valid;
        if (formula.valid) {
            width = formula.width;
            normal_ = formula.normal;
            normalDecides = true;
        }
    }

    // 4. Width limits, the other bit order, and the mask.
    if (width == 0) width = 32;
    if (width > 64) width = 64;
    width_ = width;
    mask_ = CrcMask(width_);
    if (normalDecides)
        reflected_ = ReflectBits(normal_, width_);
    else
        normal_ = ReflectBits(reflected_, width_);
    reflected_ &= mask_;
    normal_ &= mask_;
    start_ &= mask_;

    // 5. Remembered texts.
    Remember(change);

    // 6. The catalogue row that matches, unless the user just picked one.
    if (change != CrcChange::Catalog) catalogIndex = FindCrcCatalogEntry(width_, reflected_);

    // 7. Every field but the changed one shows the values.
    RewriteFields(change);

    updating_ = false;
    return true;
}

void CrcFields::Remember(CrcChange change)
{
    auto recallStart = [&] {
        if (startRemembered_)
            start_ = ReadValue(rememberedStart_) & mask_;
        else {
            rememberedStart_ = startText;
            startRemembered_ = true;
        }
    };
    switch (change) {
    case CrcChange::Catalog:
    case CrcChange::Formula:
        polynomialRemembered_ = false;
        recallStart();
        break;
    case CrcChange::Width:
        if (polynomialRemembered_) {
            reflected_ = ReadValue(rememberedPolynomial_) & mask_;
            normal_ = ReflectBits(reflected_, width_);
        } else {
            rememberedPolynomial_ = reflectedText;
            polynomialRemembered_ = true;
        }
        recallStart();
        break;
    case CrcChange::Reflected:
        rememberedPolynomial_ = reflectedText;
        polynomialRemembered_ = true;
        break;
    case CrcChange::Normal:
        rememberedStart_ = startText;
        startRemembered_ = true;
        break;
    case CrcChange::Start:
        polynomialRemembered_ = false;
        startRemembered_ = false;
        break;
    case CrcChange::Other: break;
    }
}

void CrcFields::RewriteFields(CrcChange change)
{
    if (change != CrcChange::Width) widthText = WidthText(width_);
    if (change != CrcChange::Reflected) reflectedText = FormatCrcValue(reflected_, width_);
    if (change != CrcChange::Normal) normalText = FormatCrcValue(normal_, width_);
    if (change != CrcChange::Start) startText = FormatCrcValue(start_, width_);
    if (change != CrcChange::Formula) {
        formulaText = RenderCrcFormula(width_, reflected_);
        formulaInvalid_ = false;
    }
}

}  // namespace qv
