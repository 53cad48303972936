// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a recovery journal. Every record goes to the file with one write as it happens
// (the page cache keeps it when the process is killed); Sync makes it durable against a
// power loss. The file is created 0600 under a name of its own and locked for as long as
// this writer holds it, so that no other editor offers or takes it while it is in use.
#include <cstdint>
#include <memory>
#include <string>

#include "recovery/JournalFormat.h"

namespace qv {

class JournalWriter {
public:
    ~JournalWriter();
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    // A new journal in folder, beginning with the header (and the snapshot, when the header
    // announces one). Nothing, with a German sentence in error, when it cannot be written.
    static std::unique_ptr<JournalWriter> Create(const std::string& folder, const JournalHeader& header,
                                                 const uint8_t* snapshot, std::string& error);
    // Takes over an existing journal whose records up to intactLength were read (a damaged
    // tail is cut off); new edits continue its numbering.
    static std::unique_ptr<JournalWriter> Adopt(const std::string& path, uint64_t intactLength, uint64_t editCount,
                                                bool keepsRemovedBytes, std::string& error);

    // removedCount bytes at offset are replaced by insertedCount bytes (zeros when inserted
    // is null); removed are the replaced bytes, written only when the journal keeps them.
    bool AppendEdit(int64_t offset, const uint8_t* removed, int64_t removedCount, const uint8_t* inserted,
                    int64_t insertedCount);
    // Makes everything written durable (fdatasync; the folder entry too, the first time).
    bool Sync();
    // The journal is no longer needed: the file goes.
    void Remove();
    // The journal stays on disk for the next start; the writer lets go of it.
    void Release();

    bool Failed() const { return !error_.empty(); }
    const std::string& Error() const { return error_; }
    const std::string& Path() const { return path_; }

private:
    JournalWriter() = default;
    bool WriteRecord(JournalRecordType type, const std::vector<std::pair<const uint8_t*, size_t>>& pieces);
    void Fail(const std::string& what, int error);

    int fd_ = -1;
    std::string path_;
    std::string folder_;
    uint64_t length_ = 0;  // bytes of complete records in the file
    uint64_t editCount_ = 0;
    bool keepsRemovedBytes_ = false;
    bool synced_ = false;
    bool folderSynced_ = false;
    std::string error_;
};

}  // namespace qv
