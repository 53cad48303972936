// SPDX-License-Identifier: GPL-3.0-or-later
#include "recovery/RecoveryTexts.h"

#include <cstdio>
#include <ctime>

namespace qv {

std::string FormatJournalTime(int64_t secondsSince1970)
{
    const std::time_t seconds = static_cast<std::time_t>(secondsSince1970);
    std::tm local{};
    tzset();
    if (!localtime_r(&seconds, &local)) return "?";
    char text[64];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d", local.tm_mday, local.tm_mon + 1, local.tm_year + 1900,
                  local.tm_hour, local.tm_min);
    return text;
}

std::string JournalDocumentName(const JournalHeader& header)
{
    return header.path.empty() ? "Unbenannt" : header.path;
}

std::string RestoreQuestion(const std::string& path, const JournalContents& journal, const JournalBaseInfo& base)
{
    std::string text = "Es gibt ungesicherte Änderungen an " + path + " vom " +
                       FormatJournalTime(journal.header.createdSeconds) + ". Wiederherstellen?";
    if (!base.available)
        text += "\n\nDie Bytes, auf die sich die Änderungen beziehen, sind nicht mehr vorhanden: die Datei wurde "
                "seitdem geändert. Wiederherstellen ist nicht möglich; die Wiederherstellungsdatei bleibt erhalten.";
    else if (base.fileChanged && base.fromSnapshot)
        text += "\n\nDie Datei wurde seitdem von einem anderen Programm geändert. Wiederhergestellt wird die Fassung, "
                "von der die Änderungen ausgingen, mit den Änderungen; beim Speichern ersetzt sie die geänderte Datei.";
    else if (base.touchedOnly)
        text += "\n\nDie Datei wurde seitdem von einem anderen Programm geändert. Für diese große Datei sind nur die "
                "geänderten Stellen gesichert: die Änderungen werden auf die Datei angewendet, wie sie jetzt ist.";
    if (journal.lostRecords > 0)
        text += "\n\nDie Wiederherstellungsdatei ist beschädigt: " + LostRecordsText(journal.lostRecords) +
                ". Alle vollständigen Änderungen (" + std::to_string(journal.edits.size()) +
                ") werden wiederhergestellt.";
    return text;
}

std::string LostRecordsText(int64_t count)
{
    return count == 1 ? "1 Eintrag am Ende ist verloren" : std::to_string(count) + " Einträge am Ende sind verloren";
}

std::string EditCountText(size_t count)
{
    return std::to_string(count) + (count == 1 ? " Änderung" : " Änderungen");
}

std::string DiscardQuestion(const std::string& path)
{
    return "Die ungesicherten Änderungen an " + path + " werden endgültig gelöscht. Wirklich löschen?";
}

std::string RestoreReport(const ReplayOutcome& outcome)
{
    std::string text;
    if (outcome.conflicts == 1)
        text += "1 Änderung traf auf Bytes, die ein anderes Programm inzwischen geändert hat; sie wurde trotzdem "
                "angewendet. Bitte prüfen.";
    else if (outcome.conflicts > 1)
        text += std::to_string(outcome.conflicts) +
                " Änderungen trafen auf Bytes, die ein anderes Programm inzwischen geändert hat; sie wurden trotzdem "
                "angewendet. Bitte prüfen.";
    if (outcome.skipped > 0)
        text += std::string(text.empty() ? "" : "\n") +
                (outcome.skipped == 1 ? std::string("1 Änderung passt nicht mehr zu den Bytes und wurde weggelassen.")
                                      : std::to_string(outcome.skipped) +
                                            " Änderungen passen nicht mehr zu den Bytes und wurden weggelassen.");
    return text;
}

}  // namespace qv
