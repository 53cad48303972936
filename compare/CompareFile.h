// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file a document is compared with: mapped read-only and shared, never copied. An
// empty file has no map and no bytes.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "compare/DiffFinder.h"
#include "platform/MappedFile.h"

namespace qv {

class CompareFile {
public:
    // The file, or nothing with the German sentence that says why it cannot be compared.
    static std::unique_ptr<CompareFile> Open(const std::string& path, std::string& problem);

    const std::string& Path() const { return path_; }
    uint8_t* Data() const { return map_ ? map_->Data() : nullptr; }
    int64_t Size() const { return map_ ? static_cast<int64_t>(map_->Size()) : 0; }
    const IByteSource& Bytes() const { return bytes_; }
    // Whether another program cut bytes off the file since it was mapped: their places in
    // the map read as zeros, which are no bytes of the file.
    bool Shortened() const;

private:
    std::string path_;
    std::unique_ptr<MappedFile> map_;
    BlockByteSource bytes_;
};

// Why the starts of a compare do not fit the two sides (a German sentence), or nothing.
std::optional<std::string> StartsProblem(const CompareAlignment& alignment, int64_t leftSize, int64_t rightSize,
                                         const std::string& rightPath);

}  // namespace qv
