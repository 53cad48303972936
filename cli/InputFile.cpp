// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/InputFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <new>
#include <stdexcept>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cli/SystemErrorText.h"

namespace qv::cli {

namespace {

// Below this size the whole map is faulted in at once (one call instead of a fault per
// 64 KiB); larger maps are read ahead as the engines walk through them.
constexpr size_t kPopulateLimit = size_t{1} << 30;

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

std::optional<std::string>& ChangedInputMessage()
{
    static std::optional<std::string> message;
    return message;
}

}  // namespace

std::optional<std::string> InputChangedWhileRead()
{
    return ChangedInputMessage();
}

InputFile::~InputFile()
{
    if (map_ && map_->Faulted() && !ChangedInputMessage())
        ChangedInputMessage() = "Die Datei \"" + path_ +
                                "\" wurde von einem anderen Programm verkürzt, während sie gelesen wurde. Die fehlenden "
                                "Bytes wurden als 00 gelesen; das Ergebnis gilt nicht.";
}

void InputFile::WillRead(const uint8_t* data, uint64_t length) const
{
    if (!map_ || length == 0) return;
    // madvise takes whole pages.
    const auto page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    const uintptr_t first = reinterpret_cast<uintptr_t>(data) & ~(page - 1);
    const auto end = reinterpret_cast<uintptr_t>(data + length);
    void* const start = reinterpret_cast<void*>(first);
    const size_t size = end - first;
#ifdef MADV_POPULATE_READ
    if (size <= kPopulateLimit && ::madvise(start, size, MADV_POPULATE_READ) == 0) return;
#endif
    ::madvise(start, size, MADV_SEQUENTIAL);
    ::madvise(start, size, MADV_WILLNEED);
}

InputFile::InputFile(const std::string& path, uint64_t readLimit) : path_(path)
{
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) throw std::runtime_error(FileErrorText(path, errno));
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0) throw std::runtime_error(FileErrorText(path, errno));
    if (S_ISDIR(st.st_mode)) throw std::runtime_error(FileErrorText(path, EISDIR));
    if (!S_ISREG(st.st_mode) || st.st_size == 0) {
        // Files of the proc file system report size 0 but have content: read them too.
        ReadToEnd(fd.Get(), path, readLimit);
        return;
    }
    MappedFile::Error error = MappedFile::Error::None;
    map_ = MappedFile::Open(path, false, error);
    if (!map_) throw std::runtime_error(FileErrorText(path, error == MappedFile::Error::CannotOpen ? EWOULDBLOCK : EIO));
}

void InputFile::ReadToEnd(int fd, const std::string& path, uint64_t readLimit)
{
    try {
        size_t used = 0;
        bytes_.resize(std::min<uint64_t>(readLimit, size_t{1} << 16));
        while (used < readLimit) {
            if (used == bytes_.size()) bytes_.resize(std::min<uint64_t>(readLimit, bytes_.size() * 2));
            const ssize_t got = ::read(fd, bytes_.data() + used, bytes_.size() - used);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) throw std::runtime_error(FileErrorText(path, errno));
            if (got == 0) break;
            used += static_cast<size_t>(got);
        }
        bytes_.resize(used);
    } catch (const std::bad_alloc&) {
        bytes_ = {};
        throw std::runtime_error("Die Eingabe \"" + path +
                                 "\" passt nicht in den Arbeitsspeicher: sie wird nicht als Datei gelesen, "
                                 "sondern muss ganz gehalten werden.");
    }
}

}  // namespace qv::cli
