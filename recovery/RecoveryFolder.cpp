// SPDX-License-Identifier: GPL-3.0-or-later
#include "recovery/RecoveryFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "recovery/JournalReader.h"

namespace qv {
namespace {

std::string HomeFolder()
{
    const char* home = std::getenv("HOME");
    if (home && *home == '/') return home;
    const passwd* user = ::getpwuid(::getuid());
    return user && user->pw_dir ? user->pw_dir : "/tmp";
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A journal that a running editor holds is locked by it.
bool LockedByWriter(const std::string& file)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return false;
    const bool locked = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return locked;
}

}  // namespace

std::string RecoveryFolderPath()
{
    // The base folder must be absolute; anything else is ignored, as the XDG rules say.
    const char* state = std::getenv("XDG_STATE_HOME");
    const std::string base = (state && *state == '/') ? std::string(state) : HomeFolder() + "/.local/state";
    return base + "/quarnival/recovery";
}

bool EnsureRecoveryFolder(const std::string& folder, std::string& error)
{
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            error = "Der Ordner " + part + " für die Wiederherstellungsdateien kann nicht angelegt werden (" +
                    std::strerror(errno) + ").";
            return false;
        }
        if (slash == std::string::npos) break;
    }
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) {
        error = "Der Ordner " + folder + " für die Wiederherstellungsdateien gehört nicht diesem Benutzer.";
        return false;
    }
    if ((info.st_mode & 07777) != 0700 && ::chmod(folder.c_str(), 0700) != 0) {
        error = "Der Ordner " + folder + " für die Wiederherstellungsdateien lässt sich nicht schützen (" +
                std::strerror(errno) + ").";
        return false;
    }
    return true;
}

std::vector<JournalEntry> ListJournals(const std::string& folder)
{
    std::vector<JournalEntry> entries;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return entries;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name[0] == '.' || !EndsWith(name, ".qvj")) continue;
        JournalEntry journal;
        journal.file = folder + "/" + name;
        struct stat info {};
        if (::lstat(journal.file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
        journal.header = ReadJournalHeader(journal.file);
        journal.inUse = LockedByWriter(journal.file);
        entries.push_back(std::move(journal));
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const JournalEntry& a, const JournalEntry& b) {
        const int64_t timeA = a.header ? a.header->createdSeconds : 0;
        const int64_t timeB = b.header ? b.header->createdSeconds : 0;
        return timeA != timeB ? timeA < timeB : a.file < b.file;
    });
    return entries;
}

bool RemoveJournal(const std::string& file)
{
    // Held locked while the name goes, so that no editor takes it over in between. A journal
    // that cannot even be opened (no read permission) holds no lock and may go.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error == EWOULDBLOCK ? EBUSY : error;
        return false;
    }
    const bool removed = ::unlink(file.c_str()) == 0;
    const int error = errno;
    if (fd >= 0) ::close(fd);
    errno = error;
    return removed;
}

}  // namespace qv
