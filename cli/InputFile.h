// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A command's input file: regular files are mapped (read-only, shared), anything else
// (pipes, FIFOs, process substitution, devices) is read to its end. Failures throw
// std::runtime_error with a German sentence.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/MappedFile.h"

namespace qv::cli {

class InputFile {
public:
    // A stream is read no further than readLimit bytes: enough for a command that looks
    // at a range only, and an endless device then ends.
    explicit InputFile(const std::string& path, uint64_t readLimit = UINT64_MAX);
    // Notes a map that lost pages while it was read (InputChangedWhileRead).
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    const uint8_t* Data() const { return map_ ? map_->Data() : bytes_.data(); }
    uint64_t Size() const { return map_ ? map_->Size() : bytes_.size(); }
    // Announces that the bytes [data, data + length) of the input are about to be read
    // through: a mapped range is faulted in ahead instead of page by page.
    void WillRead(const uint8_t* data, uint64_t length) const;

private:
    void ReadToEnd(int fd, const std::string& path, uint64_t readLimit);

    std::string path_;
    std::unique_ptr<MappedFile> map_;
    std::vector<uint8_t> bytes_;
};

// Another program shortened a mapped input while a command read it: the lost pages read
// as zeros, so whatever the command made of them is wrong. The message for the first such
// input of the process, once its InputFile is gone; nothing otherwise.
std::optional<std::string> InputChangedWhileRead();

}  // namespace qv::cli
