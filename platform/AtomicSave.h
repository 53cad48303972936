// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Saving without ever losing the old file: the bytes go to a temporary file in the
// target's folder, which is flushed and then renamed over the target, keeping the
// target's permissions and, where allowed, its owner. A symbolic link stays a link: the
// file it points to is the one replaced. On any failure the temporary file is removed and the target
// stays as it was.
// Only regular files are replaced: devices, FIFOs and sockets are refused. When the folder
// takes no new file but the existing target may be written, the bytes are written into the
// target itself (space reserved first, then written, cut to length and flushed); a failure
// there can leave the target incomplete, and is reported like any other.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include <sys/types.h>

namespace qv {

enum class SaveError {
    None,
    AccessDenied,    // the folder or file may not be written
    ReadOnly,        // the target is write-protected (no write bit, also for root)
    DiskFull,
    NotFound,        // the folder does not exist (any more)
    NotRegularFile,  // the target is a device, FIFO or socket
    WriteFailed,     // any other failure
};

// The write call used for the bytes; tests replace it to inject failures.
using WriteFunction = std::function<ssize_t(int fd, const void* data, size_t size)>;

SaveError SaveFileAtomically(const std::string& path, const uint8_t* data, size_t size,
                             const WriteFunction& write = nullptr);

}  // namespace qv
