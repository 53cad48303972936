// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/PrintColors.h"

#include "print/PrintSettings.h"

namespace qv {

namespace {

constexpr Color kBlack = 0x000000;
constexpr Color kWhite = 0xFFFFFF;
constexpr int kContrast = 200;
constexpr int32_t kPrintStyleFlag = 0x100;

Color GreyColor(int level)
{
    return level | level << 8 | level << 16;
}

}  // namespace

int GreyLevel(Color color)
{
    const int r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
    return (77 * r + 151 * g + 28 * b) / 256;
}

GreyPair ContrastGreys(int text, int background)
{
    if (text > background) {
        if (text - background < kContrast) {
            background = text - kContrast;
            if (background < 0) background = 0, text = kContrast;
        }
        if (text > background) return {text, background};
    }
    if (background >= kContrast) return {background - kContrast, background};
    return {0, kContrast};
}

ColorTable MakePrintColorTable(const ColorTable& view, uint32_t printFlags)
{
    ColorTable table;
    for (const ColorEntry& entry : view.Entries()) {
        ColorEntry printed = entry;
        const Color text = entry.text == kDefaultColor ? kBlack : entry.text;
        const Color background = entry.background == kDefaultColor ? kWhite : entry.background;
        if (printFlags & PrintBlackOnWhite) {
            printed.text = kBlack, printed.background = kWhite;
        } else if (printFlags & PrintColors) {
            printed.text = text, printed.background = background;
        } else if (printFlags & PrintGreyLevels) {
            const GreyPair grey = ContrastGreys(GreyLevel(text), GreyLevel(background));
            printed.text = GreyColor(grey.text), printed.background = GreyColor(grey.background);
        } else {
            printed.text = kBlack, printed.background = kWhite;
        }
        if (entry.fontStyle >= 0 && (entry.fontStyle & kPrintStyleFlag)) printed.fontStyle = (entry.fontStyle >> 4) & 7;
        table.Add(printed.text, printed.background, printed.name, entry.index, printed.fontStyle);
    }
    return table;
}

}  // namespace qv
