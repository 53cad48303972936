// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli checksum: the fifteen checksums of a file range, as the dialog shows them.
#include <iostream>

#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "cli/InputFile.h"
#include "cli/ToolRange.h"
#include "tools/Checksum.h"
#include "tools/ChecksumDialogModel.h"
#include "tools/ChecksumInput.h"
#include "tools/ChecksumTool.h"

namespace qv::cli {
namespace {

int RunChecksum(const std::vector<std::string>& argList)
{
    CliArgs args(argList, {"offset", "length"}, {"big-endian"});
    if (args.Positional().size() != 1) throw UsageError("genau eine Datei angeben");
    const InputFile input(args.Positional()[0], RangeReadLimit(args));
    const BlockByteSource file(input.Data(), static_cast<int64_t>(input.Size()));
    const ToolBytes range = RangeOfFile(file, args);
    input.WillRead(input.Data() + range.offset, static_cast<size_t>(range.length));
    TaskProgress progress;  // nobody cancels here
    ChecksumDialogModel model(*ComputeChecksums(range, progress));
    model.SetBigEndian(args.Has("big-endian"));
    for (int row = 0; row < ChecksumDialogModel::kRows; ++row) {
        std::cout << ChecksumDialogModel::RowLabel(row);
        for (int column = 0; column < ChecksumDialogModel::kColumns; ++column)
            std::cout << '\t' << model.FieldText(row, column);
        std::cout << '\n';
    }
    return 0;
}

}  // namespace
}  // namespace qv::cli

QV_CLI_COMMAND("checksum", "checksum DATEI [--offset O --length L] [--big-endian]", qv::cli::RunChecksum);
