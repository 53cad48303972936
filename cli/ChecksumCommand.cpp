// quarnival-cli checksum: the fifteen checksums of a file range, as the dialog shows them.
#include <iostream>

#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "tools/Checksum.h"
#include "tools/ChecksumDialogModel.h"
#include "tools/ChecksumInput.h"

namespace qv::cli {
namespace {

// Selects the range of the file the tools work on: --offset/--length as a selection, or
// without --length the start of the file as the dialog reads it without a selection.
ToolBytes RangeOfFile(const std::vector<uint8_t>& bytes, const CliArgs& args)
{
    const uint64_t offset = args.Number("offset").value_or(0);
    const auto length = args.Number("length");
    if (offset > bytes.size()) throw UsageError("--offset liegt hinter dem Dateiende");
    if (!length) return ToolInputBytes(bytes.data() + offset, bytes.size() - offset, 0, 0);
    if (*length > bytes.size() - offset) throw UsageError("--length reicht über das Dateiende hinaus");
    return {bytes.data() + offset, static_cast<size_t>(*length)};
}

int RunChecksum(const std::vector<std::string>& argList)
{
    CliArgs args(argList, {"offset", "length"}, {"big-endian"});
    if (args.Positional().size() != 1) throw UsageError("genau eine Datei angeben");
    const std::vector<uint8_t> bytes = ReadWholeFile(args.Positional()[0]);
    const ToolBytes range = RangeOfFile(bytes, args);
    ChecksumDialogModel model(ComputeChecksums(range.data, range.length));
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
