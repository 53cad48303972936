// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/CrcTool.h"

#include "tools/CrcDialogModel.h"

namespace qv {

bool RunCrcTool(const ToolBytes& input, const SettingsStores& settings, IDialogService& dialogs,
                ILongTaskRunner& runner)
{
    CrcDialogModel model(input, &runner);
    model.Load(settings);
    if (!model.RunPendingPass()) return false;
    if (!dialogs.Run(model)) return false;
    if (settings.user) model.Save(*settings.user);
    return true;
}

}  // namespace qv
