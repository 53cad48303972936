// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The commands' standard output: std::cout writes through a large buffer straight to
// descriptor 1. A failed write (full disk, closed pipe, /dev/full) ends the program with
// exit code 1 and a German sentence on stderr, so that no command reports success after
// losing output. SIGPIPE is ignored: a closed pipe shows up as EPIPE instead.
#include <string>

namespace qv::cli {

// Routes std::cout through the buffer; once, before any output.
void InstallStandardOutput();

// The command named in the message about a failed write.
void SetOutputCommandName(const std::string& name);

// The exit code of output that cannot be trusted: a failed write, or an input shortened
// while it was read (1 unless a command says otherwise).
void SetOutputFailureCode(int code);
int OutputFailureCode();

// Writes what is buffered.
void FlushStandardOutput();
// Drops what is buffered and not yet written: results that turned out to be wrong.
void DiscardStandardOutput();

}  // namespace qv::cli
