// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SystemErrorText.h"

#include <cerrno>

namespace qv::cli {

std::string SystemErrorText(int error)
{
    switch (error) {
    case ENOSPC: return "Auf dem Datenträger ist kein Platz mehr.";
    case EDQUOT: return "Das Speicherkontingent ist erschöpft.";
    case EPIPE: return "Der Empfänger hat die Ausgabe geschlossen.";
    case EBADF: return "Die Ausgabe ist nicht geöffnet.";
    case EIO: return "Das Gerät meldet einen Ein-/Ausgabefehler.";
    case EFBIG: return "Die Datei würde zu groß.";
    case ENOMEM: return "Der Arbeitsspeicher reicht nicht aus.";
    case EROFS: return "Das Dateisystem ist schreibgeschützt.";
    case EACCES:
    case EPERM: return "Der Zugriff ist nicht erlaubt.";
    case ENOENT: return "Die Datei oder der Ordner existiert nicht.";
    case EISDIR: return "Das ist ein Ordner.";
    default: return "Das System meldet den Fehler " + std::to_string(error) + ".";
    }
}

std::string FileErrorText(const std::string& path, int error)
{
    const std::string file = "Die Datei \"" + path + "\" ";
    switch (error) {
    case ENOENT: return file + "existiert nicht.";
    case EISDIR: return file + "ist ein Ordner.";
    case EACCES:
    case EPERM: return file + "darf nicht gelesen werden.";
    case ENOTDIR: return file + "liegt in keinem Ordner: ein Teil des Pfades ist eine Datei.";
    case ELOOP: return file + "ist ein Kreis symbolischer Verknüpfungen.";
    case ENAMETOOLONG: return file + "hat einen zu langen Namen.";
    case EWOULDBLOCK: return file + "ist von einem anderen Programm gesperrt.";
    default: return file + "kann nicht gelesen werden. " + SystemErrorText(error);
    }
}

}  // namespace qv::cli
