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
    bool readOnly = false;  // the user may not write the file
    int64_t size = 0;
};

FileInfo QueryFile(const std::string& path);

// Absolute form of path: relative names are taken from the working directory and "."
// and ".." components are resolved by text, as a full-path operation does; links stay.
std::string FullPath(const std::string& path);

// The name of the entry `name` in folder `folder` as it is stored: the exact name when it
// exists, otherwise the first entry that matches it without regard to case. Nothing when
// neither exists.
std::optional<std::string> StoredName(const std::string& folder, const std::string& name);

enum class FileError { None, NotFound, AccessDenied, IsDirectory, TooLarge, ReadError };

// Reads a whole regular file of less than 2 GiB.
FileError ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes);

// The last component of a path ("dir/name.bin" -> "name.bin").
std::string FileNameOf(const std::string& path);

}  // namespace qv
