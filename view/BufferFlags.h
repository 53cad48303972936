// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Flags of the block hand-over from the document to the view, and the buffer bits of
// the view's HexFlags word.
#include <cstdint>

namespace qv {

// SetBuffer flags.
inline constexpr uint32_t ViewWritable = 0x001;    // the bytes may be edited
inline constexpr uint32_t ViewOwnsBuffer = 0x002;  // the view owns the block: may replace it, releases it
inline constexpr uint32_t KeepCursor = 0x004;      // cursor, selection and top row stay
inline constexpr uint32_t NoRepaint = 0x008;       // the caller repaints
inline constexpr uint32_t KeepScroll = 0x010;      // the row layout stays, only the line count is updated
inline constexpr uint32_t InsertAllowed = 0x020;   // insert mode may be used (writable, owned, at most 128 KiB)
inline constexpr uint32_t InsertOn = 0x040;        // switch insert mode on
inline constexpr uint32_t InsertOff = 0x080;       // switch insert mode off
inline constexpr uint32_t KeepOldBuffer = 0x100;   // the replaced block is not released

// Buffer bits of HexFlags.
inline constexpr uint32_t FlagReadOnly = 0x1;
inline constexpr uint32_t FlagOwnsBuffer = 0x100;
inline constexpr uint32_t FlagModified = 0x8000;


// Largest block that may be edited in insert mode.
inline constexpr int32_t kInsertLimit = 0x20000;

}  // namespace qv
