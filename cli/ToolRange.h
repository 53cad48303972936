// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The part of a file that the checksum and CRC commands work on, and the one rule for an
// --offset past the end.
#include <cstdint>

#include "cli/CliArgs.h"
#include "tools/ChecksumInput.h"

namespace qv::cli {

// --offset/--length act as a selection; without --length the tools read from the offset
// as their dialogs do without a selection. Throws UsageError for a range past the end.
// How much of a stream the tools may read: up to the end of the range.
uint64_t RangeReadLimit(const CliArgs& args);

ToolBytes RangeOfFile(const IByteSource& file, const CliArgs& args);

// Every command that takes --offset refuses one past the end of its input alike.
void CheckOffsetInFile(uint64_t offset, uint64_t size);

}  // namespace qv::cli
