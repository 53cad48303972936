// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/OutputFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <iostream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

#include "cli/SystemErrorText.h"
#include "platform/AtomicSave.h"

namespace qv::cli {

namespace {

// Names of the program's own standard output: written through descriptor 1, so that an
// appending redirection keeps appending and a regular file behind it is not replaced.
bool NamesStandardOutput(const std::string& path)
{
    return path == "/dev/stdout" || path == "/dev/fd/1" || path == "/proc/self/fd/1";
}

std::runtime_error WriteFailure(const std::string& path, int error)
{
    return std::runtime_error("\"" + path + "\" kann nicht geschrieben werden. " + SystemErrorText(error));
}

void WriteInPlace(const std::string& path, const uint8_t* data, size_t size)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) throw WriteFailure(path, errno);
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            const int error = written < 0 ? errno : ENOSPC;
            ::close(fd);
            throw WriteFailure(path, error);
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    if (::close(fd) != 0 && errno != EINTR) throw WriteFailure(path, errno);
}

std::string ReasonOf(SaveError error)
{
    switch (error) {
    case SaveError::AccessDenied: return " " + SystemErrorText(EACCES);
    case SaveError::DiskFull: return " " + SystemErrorText(ENOSPC);
    default: return "";
    }
}

}  // namespace

void WriteOutputFile(const std::string& path, const uint8_t* data, size_t size)
{
    if (NamesStandardOutput(path)) {
        std::cout.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        return;
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) throw std::runtime_error("\"" + path + "\" ist ein Ordner.");
        if (!S_ISREG(st.st_mode)) return WriteInPlace(path, data, size);
    } else if (errno == ENOENT || errno == ENOTDIR) {
        // A new file: its folder must exist (the atomic save only reports a failure).
        const size_t slash = path.find_last_of('/');
        const std::string folder = slash == std::string::npos ? "." : path.substr(0, std::max<size_t>(slash, 1));
        if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) throw WriteFailure(path, ENOENT);
    }
    const SaveError error = SaveFileAtomically(path, data, size);
    if (error == SaveError::ReadOnly)
        throw std::runtime_error("\"" + path + "\" ist schreibgeschützt. Es wurde nichts geschrieben.");
    if (error != SaveError::None)
        throw std::runtime_error("Fehler beim Speichern von " + path + "." + ReasonOf(error));
}

}  // namespace qv::cli
