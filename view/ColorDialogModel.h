// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rules of the "Farben einstellen" dialog: a working copy of a style's colour table,
// the entry list sorted by name, the style check boxes of the selected entry, its
// preview colours and the two swatch palettes. OK hands back the copy.
#include <array>
#include <string>
#include <vector>

#include "platform/DialogService.h"
#include "view/ColorTable.h"
#include "view/FontSpec.h"

namespace qv {

class ColorDialogModel : public DialogModel {
public:
    static constexpr const char* kName = "LineViewColors";
    static constexpr const char* kCaption = "Farben einstellen";
    static constexpr const char* kPreviewText = "AbcXyz";

    ColorDialogModel(const ColorTable& table, const FontSpec& font) : table_(table), font_(font) {}
    const char* DialogName() const override { return kName; }

    // Table positions in the order the list shows them (by name, ignoring case).
    std::vector<int32_t> SortedPositions() const;
    int32_t Selected() const { return selected_; }
    // Out-of-range positions are ignored.
    void Select(int32_t position);
    const ColorEntry& SelectedEntry() const { return table_.At(selected_); }

    bool Bold() const { return (Style() & 0x1) != 0; }
    bool Italic() const { return (Style() & 0x2) != 0; }
    bool Underline() const { return (Style() & 0x4) != 0; }
    // Sets bold + 2 * italic + 4 * underline; the print style bits (0x100, 4..7) stay.
    void SetStyle(bool bold, bool italic, bool underline);
    // The "Nur für aktelles Format" filter: no view supplies one, so it stays off.
    bool FilterAvailable() const { return false; }

    void SetBackground(Color color);
    void SetText(Color color);
    // Picks swatch 0..62 of the background or text palette; others are ignored.
    void PickSwatch(bool background, int swatch);
    int HighlightedSwatch(bool background) const;

    const ColorTable& Table() const { return table_; }
    const FontSpec& Font() const { return font_; }

private:
    int32_t Style() const;

    ColorTable table_;
    FontSpec font_;
    int32_t selected_ = 0;
};

}  // namespace qv
