// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/HashTool.h"

#include <limits>

#include "common/NumberText.h"
#include "view/HexView.h"

namespace qv {

std::string HashDialogModel::AllLines() const
{
    std::string text;
    for (const HashAlgorithmInfo& info : HashAlgorithms())
        text += std::string(info.label) + ": " + digests[static_cast<size_t>(info.algorithm)] + "\n";
    return text;
}

bool RunHashTool(const CHexView& view, IDialogService& dialogs, ILongTaskRunner& runner)
{
    int64_t start = 0, length = 0;
    HashDialogModel model;
    if (view.GetSelectionRange(&start, &length, false, std::numeric_limits<int64_t>::max())) {
        const uint64_t first = view.BaseAddress() + static_cast<uint64_t>(start);
        model.rangeText = "Markierung " + FormatNumber64(static_cast<int64_t>(first), kStyleHexPrefix) + " bis " +
                          FormatNumber64(static_cast<int64_t>(first + static_cast<uint64_t>(length) - 1), kStyleHexPrefix) +
                          " (" + std::to_string(length) + " Bytes)";
    } else {
        start = 0;
        length = view.Length();
        model.rangeText = "Ganzes Dokument (" + std::to_string(length) + " Bytes)";
    }

    std::vector<HashAlgorithm> algorithms;
    for (const HashAlgorithmInfo& info : HashAlgorithms()) algorithms.push_back(info.algorithm);
    std::optional<std::vector<std::string>> digests;
    const bool finished = runner.Run("Hashwerte", [&](TaskProgress& progress) {
        digests = HashRange(view.Bytes(), start, length, algorithms, progress);
    });
    if (!finished || !digests) return false;
    std::copy(digests->begin(), digests->end(), model.digests.begin());
    dialogs.Run(model);  // nothing is kept, whichever way it closes
    return true;
}

}  // namespace qv
