// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A drawing that joins text runs: runs that continue each other on the same row in the
// same font variant and colours reach the target as one. Printing in black on white or
// grey levels gives many such neighbours, and every run costs the printer a text item.
#include <string>

#include "view/LineDrawing.h"

namespace qv {

class RunJoiningDrawing : public ILineDrawing {
public:
    explicit RunJoiningDrawing(ILineDrawing& target) : target_(target) {}
    ~RunJoiningDrawing() override { Flush(); }
    RunJoiningDrawing(const RunJoiningDrawing&) = delete;
    RunJoiningDrawing& operator=(const RunJoiningDrawing&) = delete;

    int32_t DrawText(int32_t x, int32_t y, std::string_view text, int fontVariant, Color textColor,
                     Color background) override;
    void FillRect(const LineRect& rect, Color color) override;
    void SetClip(const LineRect& rect) override;
    void ClearClip() override;
    CellMetrics Cell() const override { return target_.Cell(); }
    bool IsPrinting() const override { return target_.IsPrinting(); }

    // Draws the run held back.
    void Flush();

private:
    ILineDrawing& target_;
    std::string text_;
    int32_t x_ = 0;
    int32_t y_ = 0;
    int variant_ = 0;
    Color textColor_ = kDefaultColor;
    Color background_ = kDefaultColor;
};

}  // namespace qv
