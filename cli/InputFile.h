// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A command's input file: regular files are mapped (read-only, shared), anything else
// (pipes, FIFOs, process substitution, devices) is read to its end. Failures throw
// std::runtime_error with a German sentence.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/MappedFile.h"

namespace qv::cli {

class InputFile {
public:
    // A stream is read no further than readLimit bytes: enough for a command that looks
    // at a range only, and an endless device then ends.
    explicit InputFile(const std::string& path, uint64_t readLimit = UINT64_MAX);

    const uint8_t* Data() const { return map_ ? map_->Data() : bytes_.data(); }
    uint64_t Size() const { return map_ ? map_->Size() : bytes_.size(); }
    // Announces that the bytes [data, data + length) of the input are about to be read
    // through: a mapped range is faulted in ahead instead of page by page.
    void WillRead(const uint8_t* data, uint64_t length) const;

private:
    void ReadToEnd(int fd, const std::string& path, uint64_t readLimit);

    std::unique_ptr<MappedFile> map_;
    std::vector<uint8_t> bytes_;
};

}  // namespace qv::cli
