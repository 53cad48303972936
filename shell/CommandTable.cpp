// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/CommandTable.h"

#include <map>

namespace qv {
namespace {

const std::vector<CommandInfo>& AllCommands()
{
    static const std::vector<CommandInfo> commands = {
        {57600, "&Neu\tStrg+N", {"Ctrl+N"}, "Erstellt ein neues Dokument.\nNeu", "document-new"},
        {57601, "Ö&ffnen...\tStrg+O", {"Ctrl+O"}, "Öffnet ein vorhandenes Dokument.\nÖffnen", "document-open"},
        {57603, "S&peichern\tStrg+S", {"Ctrl+S"}, "Speichert das aktive Dokument.\nSpeichern", "document-save"},
        {57604, "Speichern &unter...", {}, "Speichert das aktive Dokument unter einem neuen Namen.\nSpeichern unter",
         "document-save-as"},
        {32829, "Speichere &Markierung", {}, "Speicher den gerade Markierten Bereich\nSpeichere Markierung", ""},
        {32830, "Speichere als C-Datei", {}, "Speichert den markierten Bereich als C-Datei\nSpeichere als C-Datei", ""},
        {32867, "Dateipfad kopieren", {},
         "Kopiert den Pfad der aktuellen Datei in die Zwischenablage.\nDateipfad kopieren", ""},
        {32902, "Dateien &vergleichen...", {},
         "Vergleicht das Dokument mit einer anderen Datei, Seite an Seite.\nDateien vergleichen", ""},
        {32903, "Vergleich &beenden", {}, "Schließt die zweite Datei und beendet den Vergleich.\nVergleich beenden", ""},
        {57607, "&Drucken...\tStrg+P", {"Ctrl+P"}, "Druckt das aktive Dokument.\nDrucken", "document-print"},
        {57609, "Sei&tenansicht\tF12", {"F12"}, "Zeigt ganze Seiten an.\nSeitenansicht", "document-print-preview"},
        {57605, "Seite einrichten\tF11", {"F11"}, "Ändert die Seitenränder und die Kopf- und Fußzeilen.\nSeite einrichten",
         "document-page-setup"},
        {57606, "Drucker&einrichtung...", {}, "Ändert den Drucker und die Druckoptionen.\nDruckereinrichtung", ""},
        {32800, "", {"F2"}, "Öffnet die zuletzt bearbeitete Datei.\nLetzte Datei", ""},
        {57665, "&Beenden", {"Esc"}, "Beendet die Anwendung; fordert zum Speichern von Dokumenten auf.\nBeenden",
         "application-exit"},
        {57643, "&Rückgängig\tStrg+Z", {"Ctrl+Z", "Alt+Backspace"}, "Macht die letzte Aktion rückgängig.\nRückgängig",
         "edit-undo"},
        {32833, "Wi&ederherstellen\tStrg+D", {"Ctrl+D"}, "Rückgänig machen aufheben.\nWiederherstellen", "edit-redo"},
        {57634, "&Kopieren\tStrg+C", {"Ctrl+C"}, "Kopiert die Markierung in die Zwischenablage.\nKopieren", "edit-copy"},
        {57637, "Einfügen\tStrg+V", {"Ctrl+V", "Shift+Ins"}, "Fügt den Inhalt der Zwischenablage ein.\nEinfügen",
         "edit-paste"},
        {32862, "&Dump einfügen ", {},
         "Fügt den HEX-Dumps aus der Zwischenablage ein mit verschidenen Formaten.\nDump einfügen", ""},
        {32826, "&C++ Kopieren\tStrg+A", {"Ctrl+A"},
         "Kopiert den markierten Bereich in die Zwischenablage im C++ Format\nC++ Kopieren", ""},
        {32864, "String Kopieren\tStrg+W", {"Ctrl+W"},
         "Kopiert den markierten Bereich in die Zwischenablage im C-Textformat\nString Kopieren", ""},
        {32831, "Base64 einfügen", {}, "Einen Base64 kodierten Text einfügen.\nBase64 einfügen", ""},
        {32866, "GUID einfügen", {}, "Fügt eine GUID auf der aktuellen Stelle ein.\tGUID einfügen", ""},
        {32868, "Einfügemodus erlauben", {},
         "Ermöglich das Wechseln zwischen Überschreiben und Einfügen mit der INSERT-Taste.\nEinfügemodus erlauben", ""},
        {32771, "&Weitersuchen\tF3", {"F3"}, "Suche weiter nach dem vorherigen Ausdruck\nWeitersuchen", "go-down-search"},
        {57636, "&Suchen\tShift+F3", {"Shift+F3", "Ctrl+F"}, "Sucht den angegebenen Text.\nSuchen", "edit-find"},
        {32774, "&Bereich suchen\tStrg+F3", {"Ctrl+F3"},
         "Sucht nach dem nächsten Auftreten vom aktuell markierten Bereich", ""},
        {32900, "&Nächster Unterschied\tAlt+Runter", {"Alt+Down"},
         "Markiert den nächsten Bereich, in dem sich die verglichenen Dateien unterscheiden.\nNächster Unterschied", ""},
        {32901, "&Vorheriger Unterschied\tAlt+Hoch", {"Alt+Up"},
         "Markiert den vorherigen Bereich, in dem sich die verglichenen Dateien unterscheiden.\nVorheriger Unterschied",
         ""},
        {32821, "Zahlen Rechner\tStrg+Y", {"Ctrl+Y"}, "Rechner zum umwandeln von Zahlen.\nZahlenrechner",
         "accessories-calculator"},
        {32861, "Float Konverter\tStrg+X", {"Ctrl+X"}, "Umwandel von Flieskommazahlen in Hex-Dumps\nFloat Konverter", ""},
        {32863, "Zeitkonverter\tStrg+M", {"Ctrl+M"},
         "Öffnet einen Dialog mit dem man Zeitformate anzeigen kann.\nZeitkonverter", ""},
        {32828, "Ausschnitt einblenden\tStrg+Q", {"Ctrl+Q"},
         "Einen Auschnit aus dem Speicher anzeigen.\tAusschnitt einblenden", ""},
        {32865, "CRC brechnen\tStrg+G", {"Ctrl+G"},
         "Berechnet die CRC-Summe über für ein auswählbares Polygon.\nCRC brechnen", ""},
        {32823, "&Zahl eingeben\tF4", {"F4"}, "Eine Zahl an der aktuellen Position einfügen\nZahl eingeben", ""},
        {32799, "Checksumme\tF5", {"F5"}, "Die Checksumme berechen.\nChecksumme", ""},
        {32905, "&Hashwerte...\tShift+F5", {"Shift+F5"},
         "Berechnet MD5, SHA-1, SHA-2, SHA3-256 und BLAKE2b über die Markierung oder das ganze Dokument.\nHashwerte",
         ""},
        {32808, "Daten &erneuern\tF8", {"F8"}, "Erneuert die Anzeige im Datenfenster.\nDaten anzeigen", "view-refresh"},
        {32813, "Springe zu Adresse\tF10", {"F10"}, "Bewege den Cursor zu einer Adresse\nCursor verschieben ", ""},
        {32784, "&Farben einstellen\tStrg+B", {"Ctrl+B"}, "Die Farben einstellen", ""},
        {32783, "Sch&rift einstellen\tStrg+T", {"Ctrl+T"}, "Die Schriftart einstellen.", ""},
        {32786, "Einstellungen", {}, "Die Fenster-Ansicht einstellen", ""},
        {32794, "Flache Symbolleiste", {},
         "Schaltet zwischen dem hervorgehobenen und flachen Stil um.\nFlache Symbolleiste", ""},
        {32832, "Fenster fi&xieren", {}, "Fixiert das Fenster immer im Vordergrind\nFenster fixieren", "window-pin"},
        {59392, "&Symbolleiste", {}, "Blendet die Symbolleiste ein oder aus.\nSymbolleiste ein/aus", ""},
        {59393, "S&tatusleiste", {}, "Blendet die Statusleiste ein oder aus.\nStatusleiste ein/aus", ""},
        {32801, "&Datenfenster\tF7", {"F7"}, "Datenfenster ein/aus schalten\nDatenfenster", "view-list-details"},
        {32904, "&Werte anzeigen\tShift+F7", {"Shift+F7"},
         "Zeigt die Bytes am Cursor als Zahlen, Zeichen und Zeitstempel.\nWerte anzeigen", ""},
        {32906, "&Entropie-Leiste\tStrg+E", {"Ctrl+E"},
         "Blendet die Entropie-Leiste neben der Bildlaufleiste ein oder aus.\nEntropie-Leiste", ""},
        {32815, "&Modul laden", {}, "", ""},
        {32812, "Modulliste &laden", {}, "Läd eine Liste von Modulen.\nModulliste laden", ""},
        {32817, "Module &löschen", {}, "", ""},
        {32811, "&Datei in Modulliste", {}, "Eine Datei zur Modulliste hinzufügen.\nDatei zu Modul Liste", ""},
        {32822, "Datenfenster &Eigenschaften\tF9", {"F9"}, "Zum Auswählen der Module für das Datenfenster", ""},
        {57664, "Inf&o über Quarnival...", {},
         "Zeigt Programminformationen, Versionsnummer und Copyright an.\nInfo", "help-about"},
        {57635, "", {"Shift+Del"}, "", ""},
        {57680, "", {"F6"}, "Wechselt zum nächsten Fensterausschnitt.\nNächster Ausschnitt", ""},
        {57681, "", {"Shift+F6"}, "Wechselt zum vorherigen Fensterausschnitt.\nVorheriger Ausschnitt", ""},
    };
    return commands;
}

MainMenuEntry C(int id)
{
    return {MainMenuEntry::Command, id, {}};
}
const MainMenuEntry kSeparator{MainMenuEntry::Separator, 0, {}};

}  // namespace

const std::vector<MenuPopup>& MainMenu()
{
    static const std::vector<MenuPopup> menu = {
        {"&Datei",
         {C(57600), C(57601), C(57603), C(57604), C(32829), C(32830), C(32867), C(32902), C(32903), kSeparator,
          C(57607), C(57609), C(57605), C(57606), kSeparator, {MainMenuEntry::RecentFiles, 0, {}}, kSeparator, C(57665)}},
        {"&Bearbeiten",
         {C(57643), C(32833), kSeparator, C(57634), C(57637), C(32862), C(32826), C(32864), C(32831), C(32866),
          C(32868), kSeparator, C(32771), C(57636), C(32774), C(32900), C(32901), kSeparator, C(32821), C(32861),
          C(32863), C(32828), C(32865), C(32823), C(32799), C(32905), C(32808), C(32813)}},
        {"&Ansicht",
         {C(32784), C(32783), C(32786), kSeparator, C(32794), C(32832), C(59392), C(59393), C(32801), C(32904),
          C(32906)}},
        {"Module",
         {C(32815), C(32812), C(32817), C(32811), kSeparator, C(32801),
          {MainMenuEntry::Command, 32808, "Datenfenster &aktuallisieren\tF8"}, C(32822)}},
        {"&?", {C(57664)}},
    };
    return menu;
}

const std::vector<int>& ToolbarLayout()
{
    static const std::vector<int> layout = {57600, 57601, 57603, 0,     57607, 57609, 0,     57634, 57637, 0,
                                            57643, 32833, 0,     57636, 32771, 0,     32902, 32901, 32900, 0,
                                            32823, 0,     32821, 32861, 0,     32801, 32808, 0,     32832, 57664};
    return layout;
}

const std::vector<int>& KeyOnlyCommands()
{
    static const std::vector<int> commands = {32800, 57635, 57680, 57681};
    return commands;
}

const CommandInfo* FindCommand(int id)
{
    static const std::map<int, const CommandInfo*> index = [] {
        std::map<int, const CommandInfo*> byId;
        for (const auto& info : AllCommands()) byId[info.id] = &info;
        return byId;
    }();
    auto it = index.find(id);
    return it == index.end() ? nullptr : it->second;
}

std::string StatusTextOf(const CommandInfo& info)
{
    return info.prompt.substr(0, info.prompt.find('\n'));
}

std::string ToolTipOf(const CommandInfo& info)
{
    size_t newline = info.prompt.find('\n');
    return newline == std::string::npos ? std::string() : info.prompt.substr(newline + 1);
}

}  // namespace qv
