#pragma once
// Flags of the block hand-over from the document to the view, and the buffer bits of
// the view's HexFlags word.
#include <cstdint>

namespace qv {

enum SetBufferFlags : uint32_t {
    ViewWritable = 0x001,    // the bytes may be edited
    ViewOwnsBuffer = 0x002,  // the view owns the block: may replace it, releases it
    KeepCursor = 0x004,      // cursor, selection and top row stay
    NoRepaint = 0x008,       // the caller repaints
    KeepScroll = 0x010,      // the row layout stays, only the line count is updated
    InsertAllowed = 0x020,   // insert mode may be used (writable, owned, at most 128 KiB)
    InsertOn = 0x040,        // switch insert mode on
    InsertOff = 0x080,       // switch insert mode off
    KeepOldBuffer = 0x100,   // the replaced block is not released
};

enum HexBufferFlagBits : uint32_t {
    FlagReadOnly = 0x1,
    FlagOwnsBuffer = 0x100,
    FlagModified = 0x8000,
};

// Largest block that may be edited in insert mode.
inline constexpr int32_t kInsertLimit = 0x20000;

}  // namespace qv
