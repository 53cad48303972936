// SPDX-License-Identifier: GPL-3.0-or-later
// The font dialog of the line views: the platform's font dialog, fixed-pitch faces
// only, 6 to 48 points, bound to a FontDialogModel.
#include <QFontDialog>
#include <QFontInfo>
#include <algorithm>

#include "platform/qt/DialogRegistry.h"
#include "view/ui/FontResolver.h"
#include "platform/qt/QtText.h"
#include "view/FontDialogModel.h"

namespace qv {

namespace {

bool RunFontDialog(DialogModel& model, QWidget* parent)
{
    auto& dialog = static_cast<FontDialogModel&>(model);
    FontSpec start = dialog.Current();
    std::optional<QFont> initial = ResolveFont(start);
    if (!initial) {
        start.SetFaceName("");
        initial = ResolveFont(start);
    }
    // The family list is filtered when the options change, so they come before the font.
    QFontDialog window(parent);
    window.setOptions(QFontDialog::MonospacedFonts);
    window.setCurrentFont(initial.value_or(QFont()));
    if (window.exec() != QDialog::Accepted) return false;

    QFont font = window.selectedFont();
    if (font.pointSizeF() > 0)
        font.setPointSizeF(std::clamp<qreal>(font.pointSizeF(), FontDialogModel::kMinPoints, FontDialogModel::kMaxPoints));
    FontSpec chosen;
    chosen.width = 0;
    chosen.height = -QFontInfo(font).pixelSize();  // negative: the character height
    chosen.SetFaceName(FromQt(font.family()));
    dialog.Choose(chosen);
    return true;
}

}  // namespace

QV_DIALOG_WIDGET(FontDialogModel::kName, RunFontDialog);

}  // namespace qv
