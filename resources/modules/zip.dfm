; SPDX-License-Identifier: GPL-3.0-or-later
; ZIP-Archive: lokale Dateiköpfe, zentrales Verzeichnis, Endsatz.
MODUL "ZIP"
BLOCK "ZIP"
CALL datei
EXIT

:datei
:satz LEN "Rest" #N
IF satz < 4 RETURN
:kennung DWORD #N
SEEK -4
IF kennung == 0x04034B50 CALL lokal #G
IF kennung == 0x02014B50 CALL zentral #G
IF kennung == 0x06054B50 CALL ende #G
IF kennung == 0x06054B50 RETURN
IF kennung == 0x02014B50 GOTO datei
IF kennung == 0x04034B50 GOTO datei
RETURN

:lokal TEXT "Lokaler Dateikopf"
DOWN
DWORD "Kennung" #H8
WORD "Version"
WORD "Flags" #H4
WORD "Methode" #"0: gespeichert:8: deflate:9: deflate64:12: bzip2:14: LZMA"
WORD "Zeit" #H4
WORD "Datum" #H4
DWORD "CRC-32" #H8
:gepackt DWORD "Gepackte Größe"
DWORD "Größe"
:namelen WORD "Namenslänge"
:extralen WORD "Extralänge"
STRING "Name" namelen #>lokal
BYTE "Extra" extralen #H2
SEEK gepackt
UP
RETURN

:zentral TEXT "Zentrales Verzeichnis"
DOWN
DWORD "Kennung" #H8
WORD "Erstellt mit" #H4
WORD "Version"
WORD "Flags" #H4
WORD "Methode" #"0: gespeichert:8: deflate:9: deflate64:12: bzip2:14: LZMA"
WORD "Zeit" #H4
WORD "Datum" #H4
DWORD "CRC-32" #H8
DWORD "Gepackte Größe"
DWORD "Größe"
:znamelen WORD "Namenslänge"
:zextralen WORD "Extralänge"
:kommentar WORD "Kommentarlänge"
WORD "Laufwerk"
WORD "Interne Attribute" #H4
DWORD "Externe Attribute" #H8
DWORD "Kopf ab" #H
STRING "Name" znamelen #>zentral
BYTE "Extra" zextralen #H2
STRING "Kommentar" kommentar
UP
RETURN

:ende TEXT "Endsatz"
DOWN
DWORD "Kennung" #H8
WORD "Laufwerk"
WORD "Laufwerk des Verzeichnisses"
WORD "Einträge hier"
WORD "Einträge"
DWORD "Verzeichnisgröße"
DWORD "Verzeichnis ab" #H
:ekommentar WORD "Kommentarlänge"
STRING "Kommentar" ekommentar
UP
RETURN
