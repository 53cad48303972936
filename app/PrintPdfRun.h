// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// `quarnival --print-pdf OUT.pdf FILE`: prints FILE with the stored page settings into
// OUT.pdf without showing a window; /J:address:length prints only those bytes' rows.
#include <QStringList>
#include <optional>

namespace qv {

// The exit code when the arguments ask for a PDF (0 printed, 1 failed with a message on
// stderr); nothing when they do not.
std::optional<int> RunPrintPdf(const QStringList& arguments);

// True when the raw arguments ask for a PDF (checked before the application exists).
bool AsksForPdf(int argc, char** argv);

}  // namespace qv
