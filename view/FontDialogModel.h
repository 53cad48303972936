// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The font dialog of a line view: starts from the style's font; OK keeps only the
// chosen face, height and width, always as a plain fixed-pitch font (the dialog's bold,
// italic and underline choices are not used).
#include "platform/DialogService.h"
#include "view/FontSpec.h"

namespace qv {

class FontDialogModel : public DialogModel {
public:
    static constexpr const char* kName = "LineViewFont";
    static constexpr int kMinPoints = 6;
    static constexpr int kMaxPoints = 48;

    explicit FontDialogModel(const FontSpec& current) : current_(current), chosen_(current) {}
    const char* DialogName() const override { return kName; }

    const FontSpec& Current() const { return current_; }
    bool StartBold() const { return (current_.style & FontBold) != 0; }
    bool StartItalic() const { return (current_.style & FontItalic) != 0; }

    // What the user picked; style bits are ignored.
    void Choose(const FontSpec& chosen) { chosen_ = chosen; }
    FontSpec Result() const
    {
        FontSpec result;
        result.width = chosen_.width;
        result.height = chosen_.height;
        result.style = FontFixedPitch;
        result.SetFaceName(chosen_.FaceName());
        return result;
    }

private:
    FontSpec current_;
    FontSpec chosen_;
};

}  // namespace qv
