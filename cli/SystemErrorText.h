// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// System errors as German sentences for the command line ("Die Datei ... ist ein Ordner.").
#include <string>

namespace qv::cli {

// What went wrong, as a sentence of its own, for an errno value.
std::string SystemErrorText(int error);

// "Die Datei "PATH" <what the error means>." for a failure to open or read path.
std::string FileErrorText(const std::string& path, int error);

}  // namespace qv::cli
