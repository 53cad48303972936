// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/SparseFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <stdexcept>

namespace qv::test {

void MakeSparseFile(const std::string& path, int64_t size, const std::vector<std::pair<int64_t, std::string>>& texts)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) throw std::runtime_error("cannot create " + path);
    bool ok = ::ftruncate(fd, size) == 0;
    for (const auto& [offset, text] : texts)
        ok = ok && ::pwrite(fd, text.data(), text.size(), offset) == static_cast<ssize_t>(text.size());
    ::close(fd);
    if (!ok) throw std::runtime_error("cannot write " + path);
}

std::string ReadFileBytes(const std::string& path, int64_t offset, size_t count)
{
    std::string bytes(count, '\0');
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const ssize_t got = fd < 0 ? -1 : ::pread(fd, bytes.data(), count, offset);
    if (fd >= 0) ::close(fd);
    bytes.resize(got < 0 ? 0 : static_cast<size_t>(got));
    return bytes;
}

}  // namespace qv::test
