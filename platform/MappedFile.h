#pragma once
// A whole file mapped into memory. A writable map holds an exclusive advisory lock on the
// file (nobody else may open it through this program), a read-only map a shared one
// (others may only read it). Changes to a writable map reach the file directly.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace qv {

class MappedFile {
public:
    enum class Error {
        None,
        CannotOpen,  // missing, not permitted, or locked by another holder
        AccessError  // opened, but the file could not be mapped (e.g. it is empty)
    };

    static std::unique_ptr<MappedFile> Open(const std::string& path, bool writable, Error& error);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    uint8_t* Data() const { return data_; }
    size_t Size() const { return size_; }
    bool Writable() const { return writable_; }

private:
    MappedFile() = default;
    int fd_ = -1;
    uint8_t* data_ = nullptr;
    size_t size_ = 0;
    bool writable_ = false;
};

}  // namespace qv
