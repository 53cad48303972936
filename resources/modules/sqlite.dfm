; SPDX-License-Identifier: GPL-3.0-or-later
; SQLite-Datenbanken: der Datenbankkopf und der B-Baum-Kopf der ersten Seite (das Schema).
; Zahlen stehen mit dem höchsten Byte vorn (#M).
MODUL "SQLite"
BLOCK "SQLite"
CALL datei
EXIT

:datei TEXT "Datenbankkopf"
DOWN
STRING "Kennung" 16
WORD "Seitengröße" #MU"1:65536"
BYTE "Schreibversion" #"1:Journal:2:WAL"
BYTE "Leseversion" #"1:Journal:2:WAL"
BYTE "Reservierte Bytes je Seite"
BYTE "Größter Nutzlastanteil"
BYTE "Kleinster Nutzlastanteil"
BYTE "Blattnutzlastanteil"
DWORD "Änderungszähler" #MU
DWORD "Seiten" #MU
DWORD "Erste Freiseite" #MU
DWORD "Freiseiten" #MU
DWORD "Schemazähler" #MU
DWORD "Schemaformat" #MU
DWORD "Seitencache" #MU
DWORD "Größte Wurzelseite" #MU
DWORD "Textkodierung" #MU"1:UTF-8:2:UTF-16le:3:UTF-16be"
DWORD "Benutzerversion" #MU
DWORD "Inkrementelles Vakuum" #MU
DWORD "Anwendungs-ID" #MH8
BYTE "Reserviert" 20 #H2
DWORD "Gültig für Änderung" #MU
DWORD "SQLite-Version" #MU
UP
TEXT "Seite 1 (Schema)"
DOWN
:art BYTE "Seitenart" #"2:Index innen:5:Tabelle innen:10:Index Blatt:13:Tabelle Blatt"
WORD "Erster freier Block" #MU
WORD "Zellen" #MU
WORD "Zellinhalt ab" #MU"0:65536"
BYTE "Freie Bruchstücke"
IF art == 10 GOTO blatt
IF art == 13 GOTO blatt
DWORD "Rechtes Kind" #MU
:blatt UP
RETURN
