// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File services on POSIX: attributes, full paths, names as stored on disk, and whole-file
// reading. Memory maps are in MappedFile.h, atomic saving in AtomicSave.h.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv {

struct FileInfo {
    bool exists = false;
    bool isDirectory = false;
    bool special = false;   // neither a regular file, a folder nor a block device
    bool readOnly = false;  // no write bit in its mode, or the user may not write it
    int64_t size = 0;
};

FileInfo QueryFile(const std::string& path);

// What identifies a file's state on disk: a rename over it, a rewrite, a change of size or
// a touch all give another stamp.
struct FileStamp {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

std::optional<FileStamp> StampOf(const std::string& path);
std::optional<FileStamp> StampOf(int fd);

// Another holder has the file locked exclusively (mapped writable by another instance).
bool LockedForWriting(const std::string& path);

// Absolute form of path: relative names are taken from the working directory and "."
// and ".." components are resolved by text, as a full-path operation does; links stay.
std::string FullPath(const std::string& path);

// The name of the entry `name` in folder `folder` as it is stored: the exact name when it
// exists, otherwise the first entry that matches it without regard to case. Nothing when
// neither exists.
std::optional<std::string> StoredName(const std::string& folder, const std::string& name);

enum class FileError { None, NotFound, AccessDenied, IsDirectory, NotRegular, TooLarge, ReadError };

// Reads a whole regular file of less than 2 GiB (a block device gives what its size says).
// Devices, FIFOs and sockets are refused without waiting on them. `stamp` receives the
// stamp of the file the bytes came from, as it was when the reading began.
FileError ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, FileStamp* stamp = nullptr);

// The last component of a path ("dir/name.bin" -> "name.bin").
std::string FileNameOf(const std::string& path);

}  // namespace qv
