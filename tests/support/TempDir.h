// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fresh folder below the system's temporary folder, removed with everything in it.
#include <cstdint>
#include <string>
#include <vector>

namespace qv::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    // Writes a file below the folder and returns its path.
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const;
    std::string Write(const std::string& name, const std::string& text) const;
    static std::vector<uint8_t> Read(const std::string& path);

private:
    std::string path_;
};

}  // namespace qv::test
