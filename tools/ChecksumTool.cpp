// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ChecksumTool.h"

#include "tools/ChecksumDialogModel.h"

namespace qv {

std::optional<Checksums> ComputeChecksums(const ToolBytes& input, TaskProgress& progress)
{
    ChecksumAccumulator sums;
    if (!ReadToolBytes(input, progress, [&](std::span<const uint8_t> bytes) { sums.Add(bytes.data(), bytes.size()); }))
        return std::nullopt;
    return sums.Result();
}

void RunChecksumTool(const ToolBytes& input, IDialogService& dialogs, ILongTaskRunner& runner)
{
    std::optional<Checksums> sums;
    if (!runner.Run(kChecksumTaskTitle, [&](TaskProgress& progress) { sums = ComputeChecksums(input, progress); }) ||
        !sums)
        return;
    ChecksumDialogModel model(*sums);
    dialogs.Run(model);  // nothing is kept, whichever way it closes
}

}  // namespace qv
