// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ChecksumTool.h"

#include "tools/ChecksumDialogModel.h"
#include "tools/ChecksumInput.h"

namespace qv {

void RunChecksumTool(const CHexView& view, IDialogService& dialogs)
{
    const ToolBytes input = ToolInputOfView(view);
    ChecksumDialogModel model(ComputeChecksums(input.data, input.length));
    dialogs.Run(model);  // nothing is kept, whichever way it closes
}

}  // namespace qv
