// SPDX-License-Identifier: GPL-3.0-or-later
// quarnival-cli recovery: the editor's journals of unsaved edits, listed, shown, turned
// into a file, or deleted. Journals are numbered from 1 in the order they began.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <stdexcept>

#include "cli/CliArgs.h"
#include "cli/CliCommand.h"
#include "cli/OutputFile.h"
#include "cli/SystemErrorText.h"
#include "recovery/JournalRestore.h"
#include "recovery/RecoveryFolder.h"
#include "recovery/RecoveryTexts.h"

namespace qv::cli {
namespace {

constexpr const char* kUsage = "recovery list | recovery show N | recovery apply N AUSGABE | recovery delete N";
constexpr size_t kShownBytes = 16;

const char* StateOf(const JournalEntry& entry, const JournalFileRead& read)
{
    if (!read.contents) return "nicht lesbar";
    if (entry.inUse) return "in Benutzung";
    return read.contents->lostRecords > 0 ? "beschädigt" : "bereit";
}

std::string FormatText(const JournalHeader& header)
{
    switch (header.format) {
    case DocumentFormat::Binary: break;
    case DocumentFormat::IntelHex: {
        char offset[16];
        std::snprintf(offset, sizeof offset, "0x%X", header.readOffset);
        return std::string("Intel HEX, Startoffset ") + offset;
    }
    case DocumentFormat::CArray: return "C++";
    case DocumentFormat::Compressed: return "komprimiert";
    }
    return "binär";
}

std::string BaseText(const JournalContents& journal)
{
    if (journal.header.base == JournalBase::Zeros) return "Nullbytes (neues Dokument)";
    const JournalBaseInfo base = AssessJournalBase(journal);
    if (!base.available) return "nicht mehr vorhanden";
    std::string text = base.fromSnapshot ? "Kopie in der Wiederherstellungsdatei" : "die Datei";
    if (base.fileMissing) return text + " (die Datei fehlt)";
    if (base.touchedOnly) return text + ", wie sie jetzt ist (geändert; nur die geänderten Stellen sind gesichert)";
    if (base.fileChanged) return text + " (die Datei wurde seitdem geändert)";
    return text;
}

std::string HexBytes(const std::vector<uint8_t>& bytes, int64_t count)
{
    if (count == 0) return "-";
    if (bytes.empty()) return std::to_string(count) + " Nullbytes";
    std::string text;
    char pair[4];
    for (size_t i = 0; i < bytes.size() && i < kShownBytes; ++i) {
        std::snprintf(pair, sizeof pair, "%s%02X", i ? " " : "", bytes[i]);
        text += pair;
    }
    if (bytes.size() > kShownBytes) text += " ... (" + std::to_string(bytes.size()) + " Bytes)";
    return text;
}

// Journal number N (from 1) of the list.
JournalEntry Pick(const std::vector<JournalEntry>& entries, const std::string& number)
{
    const std::optional<uint64_t> n = ParseCliNumber(number);
    if (!n || *n == 0) throw UsageError("N: keine gültige Nummer: " + number);
    if (*n > entries.size())
        throw std::runtime_error("Es gibt keine Wiederherstellungsdatei Nummer " + number + " (" +
                                 std::to_string(entries.size()) + " vorhanden).");
    return entries[static_cast<size_t>(*n - 1)];
}

JournalContents ReadOrFail(const JournalEntry& entry)
{
    JournalFileRead read = ReadJournalFile(entry.file);
    if (!read.contents) throw std::runtime_error(read.error);
    return std::move(*read.contents);
}

int List(const std::vector<JournalEntry>& entries)
{
    for (size_t i = 0; i < entries.size(); ++i) {
        const JournalFileRead read = ReadJournalFile(entries[i].file);
        std::cout << i + 1 << "\t";
        if (read.contents) {
            const JournalContents& journal = *read.contents;
            std::cout << FormatJournalTime(journal.header.createdSeconds) << "\t" << journal.edits.size() << "\t"
                      << InsertedBytes(journal.edits) << "\t" << StateOf(entries[i], read) << "\t"
                      << JournalDocumentName(journal.header) << "\n";
        } else {
            std::cout << "-\t-\t-\t" << StateOf(entries[i], read) << "\t" << entries[i].file << "\n";
        }
    }
    return 0;
}

int Show(const JournalEntry& entry)
{
    const JournalContents journal = ReadOrFail(entry);
    const JournalHeader& header = journal.header;
    char base[24];
    std::snprintf(base, sizeof base, "0x%llX", static_cast<unsigned long long>(header.baseAddress));
    std::cout << "Wiederherstellungsdatei: " << entry.file << (entry.inUse ? " (in Benutzung)" : "") << "\n"
              << "Dokument: " << JournalDocumentName(header) << "\n"
              << "Begonnen: " << FormatJournalTime(header.createdSeconds) << "\n"
              << "Format: " << FormatText(header) << "\n"
              << "Basisadresse: " << base << "\n"
              << "Ausgangsbytes: " << header.baseLength << " Bytes, " << BaseText(journal) << "\n"
              << "Änderungen: " << journal.edits.size() << "\n";
    if (journal.lostRecords > 0) std::cout << "Verloren (beschädigt): " << journal.lostRecords << "\n";
    for (const JournalEdit& edit : journal.edits) {
        char offset[24];
        std::snprintf(offset, sizeof offset, "0x%08llX", static_cast<unsigned long long>(edit.offset));
        std::cout << edit.sequence << "\t" << offset << "\t-" << edit.removedCount << "\t+" << edit.insertedCount
                  << "\t" << HexBytes(edit.inserted, edit.insertedCount) << "\n";
    }
    return 0;
}

int Apply(const JournalEntry& entry, const std::string& output)
{
    struct stat info {};
    if (output != "-" && ::stat(output.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        throw std::runtime_error("Die Datei \"" + output +
                                 "\" gibt es schon; apply schreibt nur in eine neue Datei.");
    const JournalContents journal = ReadOrFail(entry);
    std::string error;
    const std::optional<RestoredDocument> restored = RestoreFromJournal(journal, error);
    if (!restored) throw std::runtime_error(error);
    const std::vector<uint8_t>& bytes = restored->outcome.bytes;
    WriteOutputFile(output == "-" ? "/dev/stdout" : output, bytes.data(), bytes.size());
    if (journal.lostRecords > 0)
        std::cerr << "quarnival-cli recovery: die Wiederherstellungsdatei ist beschädigt; "
                  << LostRecordsText(journal.lostRecords) << ".\n";
    const std::string report = RestoreReport(restored->outcome);
    if (!report.empty()) std::cerr << "quarnival-cli recovery: " << report << "\n";
    return 0;
}

int Delete(const JournalEntry& entry)
{
    if (entry.inUse)
        throw std::runtime_error("Die Wiederherstellungsdatei " + entry.file +
                                 " wird von einem laufenden Quarnival benutzt und bleibt.");
    if (!RemoveJournal(entry.file)) throw std::runtime_error(FileErrorText(entry.file, errno));
    return 0;
}

int RunRecovery(const std::vector<std::string>& argList)
{
    CliArgs args(argList, {}, {});
    const std::vector<std::string>& words = args.Positional();
    if (words.empty()) throw UsageError("Unterbefehl fehlt");
    const std::string& sub = words[0];
    const size_t wanted = sub == "list" ? 1 : sub == "apply" ? 3 : (sub == "show" || sub == "delete") ? 2 : 0;
    if (wanted == 0) throw UsageError("unbekannter Unterbefehl \"" + sub + "\"");
    if (words.size() != wanted) throw UsageError("falsche Zahl von Argumenten für \"" + sub + "\"");

    const std::vector<JournalEntry> entries = ListJournals(RecoveryFolderPath());
    if (sub == "list") return List(entries);
    const JournalEntry entry = Pick(entries, words[1]);
    if (sub == "show") return Show(entry);
    if (sub == "apply") return Apply(entry, words[2]);
    return Delete(entry);
}

}  // namespace

QV_CLI_COMMAND_FAILURE("recovery", kUsage,
                       "die Wiederherstellungsdatei fehlt, ist nicht lesbar oder in Benutzung, oder ihre Ausgangsbytes "
                       "sind nicht mehr vorhanden; die Ausgabe ist nicht schreibbar",
                       RunRecovery);

}  // namespace qv::cli
