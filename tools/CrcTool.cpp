// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/CrcTool.h"

#include "tools/ChecksumInput.h"
#include "tools/CrcDialogModel.h"

namespace qv {

bool RunCrcTool(const CHexView& view, const SettingsStores& settings, IDialogService& dialogs)
{
    CrcDialogModel model(ToolInputOfView(view));
    model.Load(settings);
    if (!dialogs.Run(model)) return false;
    if (settings.user) model.Save(*settings.user);
    return true;
}

}  // namespace qv
