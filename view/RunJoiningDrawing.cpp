// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/RunJoiningDrawing.h"

namespace qv {

int32_t RunJoiningDrawing::DrawText(int32_t x, int32_t y, std::string_view text, int fontVariant, Color textColor,
                                    Color background)
{
    const int32_t width = static_cast<int32_t>(text.size()) * Cell().width;
    if (text.empty()) return 0;
    const bool continues = !text_.empty() && y == y_ && x == x_ + static_cast<int32_t>(text_.size()) * Cell().width &&
                           fontVariant == variant_ && textColor == textColor_ && background == background_;
    if (!continues) {
        Flush();
        x_ = x, y_ = y, variant_ = fontVariant, textColor_ = textColor, background_ = background;
    }
    text_ += text;
    return width;
}

void RunJoiningDrawing::FillRect(const LineRect& rect, Color color)
{
    Flush();
    target_.FillRect(rect, color);
}

void RunJoiningDrawing::SetClip(const LineRect& rect)
{
    Flush();
    target_.SetClip(rect);
}

void RunJoiningDrawing::ClearClip()
{
    Flush();
    target_.ClearClip();
}

void RunJoiningDrawing::Flush()
{
    if (text_.empty()) return;
    target_.DrawText(x_, y_, text_, variant_, textColor_, background_);
    text_.clear();
}

}  // namespace qv
