// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Drawing target for tests: records every text run and fill with its position,
// font variant and colours.
#include <string>
#include <vector>

#include "view/LineDrawing.h"

namespace qv::test {

class RecordingDrawing : public ILineDrawing {
public:
    struct Run {
        int32_t x;
        int32_t y;
        std::string text;
        int variant;
        Color text_color;
        Color background;
    };
    struct Fill {
        LineRect rect;
        Color color;
    };

    explicit RecordingDrawing(CellMetrics cellSize = {8, 16}, bool printing = false)
        : cell(cellSize), printer(printing)
    {
    }

    int32_t DrawText(int32_t x, int32_t y, std::string_view text, int fontVariant, Color textColor,
                     Color background) override
    {
        runs.push_back({x, y, std::string(text), fontVariant, textColor, background});
        return static_cast<int32_t>(text.size()) * cell.width;
    }
    void FillRect(const LineRect& rect, Color color) override { fills.push_back({rect, color}); }
    void SetClip(const LineRect& rect) override { clip = rect; }
    void ClearClip() override { clip = {}; }
    CellMetrics Cell() const override { return cell; }
    bool IsPrinting() const override { return printer; }

    CellMetrics cell;
    bool printer;
    LineRect clip;
    std::vector<Run> runs;
    std::vector<Fill> fills;
};

}  // namespace qv::test
