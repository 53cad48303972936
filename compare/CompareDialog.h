// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The "Dateien vergleichen" dialog: the file to compare the document with, and where the
// compare starts in each of them (a firmware image with a header of another length).
#include <cstdint>
#include <optional>
#include <string>

#include "compare/DiffFinder.h"
#include "platform/DialogService.h"

namespace qv {

class CompareDialog : public DialogModel {
public:
    static constexpr const char* kName = "Compare";
    const char* DialogName() const override { return kName; }
    static constexpr const char* kCaption = "Dateien vergleichen";
    static constexpr const char* kPathLabel = "&Vergleichen mit:";
    static constexpr const char* kBrowseLabel = "&Durchsuchen...";
    static constexpr const char* kLeftLabel = "Ab Offset im Do&kument:";
    static constexpr const char* kRightLabel = "Ab Offset in der Da&tei:";

    std::string path;  // UTF-8, as the file dialog gives it
    std::string leftStart = "0";   // numeric fields as typed (8-bit text)
    std::string rightStart = "0";

    // Why OK cannot close the dialog (a German sentence), or nothing.
    std::optional<std::string> Problem() const;
    // The starts as the fields give them; valid when Problem() finds none.
    CompareAlignment Alignment() const;
};

}  // namespace qv
