// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Konfiguration" dialog of the hex view: its fields, what is enabled, how the fields
// are corrected while it is open, and what OK hands to the view.
#include <cstdint>

#include "platform/DialogService.h"

namespace qv {

class CHexView;

class ConfigDialog : public DialogModel {
public:
    const char* DialogName() const override { return "HexConfig"; }

    // "Anzeigefromat"
    bool insertSpace = true;
    bool extraSpaceOn = true;
    int32_t extraSpace = 4;
    bool fixedWidthOn = false;
    int32_t fixedWidth = 16;
    bool rasterOn = true;
    int32_t raster = 4;
    bool widthRasterOn = true;
    int32_t widthRaster = 4;
    int32_t addressDigits = 6;
    // "Ausgabeformat": 0 Byte, 1 Word, 2 DWord, 3 QWord
    int32_t outputFormat = 0;
    // "Wertanzeige": 0 Byte, 1 Word, 2 DWord
    int32_t valueSize = 2;
    // "Diverses"
    bool unsignedValue = false;
    bool bigEndian = false;
    bool hexDistances = false;
    bool invert = false;
    bool selectionRaster = false;

    // The controls whose change makes the dialog correct its fields.
    enum class Change { OutputFormat, ExtraSpaceCheck, FixedWidthCheck, RasterCheck, WidthRasterCheck, NumberField };

    static ConfigDialog FromView(const CHexView& view);

    bool ExtraSpaceEnabled() const { return extraSpaceOn; }
    bool FixedWidthEnabled() const { return fixedWidthOn; }
    bool RasterEnabled() const { return rasterOn; }
    bool WidthRasterEnabled() const { return true; }
    bool InvertEnabled() const { return outputFormat != 0; }
    bool SelectionRasterEnabled() const { return outputFormat != 0; }

    // Limits the byte counts to 1..256 and the address digits to 1..8; "Fixe Breite von"
    // and "Breiten Raster" exclude each other: the one checked before the change gives way.
    void Correct(Change change);

    // Values handed to the view on OK.
    int32_t WidthMode() const;
    int32_t RasterValue() const { return rasterOn ? raster : 0; }
    int32_t ExtraSpaceValue() const { return extraSpaceOn ? extraSpace : 0; }
    int32_t StatusMode() const;
    // OK: lays the view out, applies the raster settings and tells the view's window.
    void ApplyTo(CHexView& view) const;

private:
    bool fixedWidthWasOn_ = false;
    bool widthRasterWasOn_ = true;
};

}  // namespace qv
