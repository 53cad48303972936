// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/ColorDialogModel.h"

#include <algorithm>
#include <numeric>

#include "view/ColorPalette.h"

namespace qv {

namespace {

bool NameLess(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

std::vector<int32_t> ColorDialogModel::SortedPositions() const
{
    std::vector<int32_t> positions(static_cast<size_t>(table_.Count()));
    std::iota(positions.begin(), positions.end(), 0);
    std::stable_sort(positions.begin(), positions.end(),
                     [&](int32_t a, int32_t b) { return NameLess(table_.At(a).name, table_.At(b).name); });
    return positions;
}

void ColorDialogModel::Select(int32_t position)
{
    if (position >= 0 && position < table_.Count()) selected_ = position;
}

int32_t ColorDialogModel::Style() const
{
    return std::max(0, SelectedEntry().fontStyle);
}

void ColorDialogModel::SetStyle(bool bold, bool italic, bool underline)
{
    int32_t bits = (bold ? 1 : 0) + (italic ? 2 : 0) + (underline ? 4 : 0);
    table_.At(selected_).fontStyle = (Style() & ~7) | bits;
}

void ColorDialogModel::SetBackground(Color color)
{
    table_.At(selected_).background = color;
}

void ColorDialogModel::SetText(Color color)
{
    table_.At(selected_).text = color;
}

void ColorDialogModel::PickSwatch(bool background, int swatch)
{
    if (swatch < 0 || swatch >= kPaletteSize) return;
    Color color = kColorPalette[static_cast<size_t>(swatch)];
    if (background)
        SetBackground(color);
    else
        SetText(color);
}

int ColorDialogModel::HighlightedSwatch(bool background) const
{
    return PaletteSwatchOf(background ? SelectedEntry().background : SelectedEntry().text);
}

}  // namespace qv
