// SPDX-License-Identifier: GPL-3.0-or-later
#include "compare/CompareFile.h"

#include "common/NumberText.h"

namespace qv {

namespace {

std::string Quoted(const std::string& path)
{
    return "\"" + path + "\"";
}

}  // namespace

std::unique_ptr<CompareFile> CompareFile::Open(const std::string& path, std::string& problem)
{
    const FileInfo info = QueryFile(path);
    if (!info.exists) {
        problem = "Die Datei " + Quoted(path) + " gibt es nicht.";
        return nullptr;
    }
    if (info.isDirectory) {
        problem = Quoted(path) + " ist ein Ordner, keine Datei.";
        return nullptr;
    }
    // A FIFO would wait for a writer forever, a device has no end.
    if (info.special) {
        problem = Quoted(path) + " ist keine gewöhnliche Datei und kann nicht verglichen werden.";
        return nullptr;
    }
    auto file = std::unique_ptr<CompareFile>(new CompareFile);
    file->path_ = path;
    if (info.size > 0) {
        MappedFile::Error error = MappedFile::Error::None;
        file->map_ = MappedFile::Open(path, false, error);
        if (!file->map_) {
            problem = "Die Datei " + Quoted(path) + " kann nicht gelesen werden.";
            return nullptr;
        }
    }
    file->bytes_.Reset(file->Data(), file->Size());
    return file;
}

bool CompareFile::Shortened() const
{
    return map_ && (map_->Faulted() || map_->Stamp().size < static_cast<int64_t>(map_->Size()));
}

std::optional<std::string> StartsProblem(const CompareAlignment& alignment, int64_t leftSize, int64_t rightSize,
                                         const std::string& rightPath)
{
    auto offset = [](int64_t value) { return FormatNumber64(value, kStyleHexPrefix); };
    if (alignment.leftStart < 0 || alignment.rightStart < 0) return "Ein Offset darf nicht negativ sein.";
    if (alignment.leftStart > leftSize)
        return "Der Offset " + offset(alignment.leftStart) + " liegt hinter dem Ende des Dokuments (" +
               offset(leftSize) + " Bytes).";
    if (alignment.rightStart > rightSize)
        return "Der Offset " + offset(alignment.rightStart) + " liegt hinter dem Ende von " + Quoted(rightPath) + " (" +
               offset(rightSize) + " Bytes).";
    return std::nullopt;
}

}  // namespace qv
