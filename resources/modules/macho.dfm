; SPDX-License-Identifier: GPL-3.0-or-later
; Mach-O-Dateien: der Kopf und die Ladebefehle mit Segmenten und ihren Abschnitten,
; Symboltabelle, Bibliotheken, dynamischem Linker, UUID und Einsprungpunkt; für 32 und
; 64 Bit und beide Byte-Reihenfolgen.
MODUL "Mach-O"
BLOCK "Mach-O"
CALL datei
EXIT

:datei
:magie DWORD #N
SEEK -4
MOV abbruch 0
MOV breite 32
IF magie == 0xFEEDFACE GOTO kopfle
IF magie == 0xCEFAEDFE GOTO kopfbe
MOV breite 64
IF magie == 0xFEEDFACF GOTO kopfle
IF magie == 0xCFFAEDFE GOTO kopfbe
TEXT "Keine Mach-O-Kennung"
RETURN

; ---- Little-Endian ----
:kopfle TEXT "Mach-O-Kopf"
DOWN
DWORD "Magie" #H8"0xFEEDFACE:32 Bit:0xFEEDFACF:64 Bit"
DWORD "CPU-Typ" #H8"7:x86:0x01000007:x86-64:12:ARM:0x0100000C:ARM64:0x0200000C:ARM64_32:18:PowerPC:0x01000012:PowerPC64"
DWORD "CPU-Untertyp" #H8
DWORD "Dateityp" #"1:Objektdatei:2:Programm:3:feste Bibliothek:4:Speicherabzug:5:vorgeladen:6:dynamische Bibliothek:7:dynamischer Linker:8:Bündel:9:Bibliotheksstummel:10:Debug-Symbole:11:Kernel-Erweiterung"
:ncmdsle DWORD "Ladebefehle" #U
DWORD "Größe der Ladebefehle" #U
DWORD "Flags" #H8
IF breite == 32 GOTO ohnereservele
DWORD "Reserviert" #H8
:ohnereservele UP
TEXT "Ladebefehle"
DOWN
LOOP ncmdsle befehlle #G
UP
RETURN

:befehlle IF abbruch != 0 RETURN
:bstartle OFFSET #N
:bzeilele TEXT "Ladebefehl"
DOWN
:cmdle DWORD "Befehl" #H8>bzeilele"0x1:LC_SEGMENT:0x2:LC_SYMTAB:0xB:LC_DYSYMTAB:0xC:LC_LOAD_DYLIB:0xD:LC_ID_DYLIB:0xE:LC_LOAD_DYLINKER:0xF:LC_ID_DYLINKER:0x19:LC_SEGMENT_64:0x1B:LC_UUID:0x1D:LC_CODE_SIGNATURE:0x24:LC_VERSION_MIN_MACOSX:0x25:LC_VERSION_MIN_IPHONEOS:0x26:LC_FUNCTION_STARTS:0x29:LC_DATA_IN_CODE:0x2A:LC_SOURCE_VERSION:0x32:LC_BUILD_VERSION:0x80000018:LC_LOAD_WEAK_DYLIB:0x8000001C:LC_RPATH:0x80000022:LC_DYLD_INFO_ONLY:0x80000028:LC_MAIN:0x80000033:LC_DYLD_EXPORTS_TRIE:0x80000034:LC_DYLD_CHAINED_FIXUPS"
:groessele DWORD "Größe" #U
IF groessele < 8 GOTO kaputtle
IF cmdle == 0x1 CALL seg32le
IF cmdle == 0x19 CALL seg64le
IF cmdle == 0x2 CALL symtable
IF cmdle == 0xC CALL dylible
IF cmdle == 0xD CALL dylible
IF cmdle == 0x80000018 CALL dylible
IF cmdle == 0xE CALL pfadle
IF cmdle == 0xF CALL pfadle
IF cmdle == 0x8000001C CALL pfadle
IF cmdle == 0x1B CALL uuidle
IF cmdle == 0x80000028 CALL mainle
SEEK bstartle #MA
SEEK groessele
UP
RETURN
; eine Größe unter 8 bewegte sich nicht weiter: die Liste endet hier
:kaputtle TEXT "Ungültige Länge: Auswertung beendet"
MOV abbruch 1
UP
RETURN

:seg32le STRING "Segment" 16 #>bzeilele
DWORD "VM-Adresse" #H8
DWORD "VM-Größe" #H8
DWORD "Datei-Offset" #U
DWORD "Dateigröße" #U
DWORD "Maximaler Schutz" #H8
DWORD "Anfänglicher Schutz" #H8
:nsects32le DWORD "Abschnitte" #U
DWORD "Flags" #H8
LOOP nsects32le sect32le #G
RETURN
:sect32le
:szeile32le TEXT "Abschnitt"
DOWN
STRING "Name" 16 #>szeile32le
STRING "Segment" 16
DWORD "Adresse" #H8
DWORD "Größe" #U
DWORD "Offset" #U
DWORD "Ausrichtung (log2)" #U
DWORD "Verschiebungen ab" #U
DWORD "Verschiebungen" #U
DWORD "Flags" #H8
DWORD "Reserviert 1" #U
DWORD "Reserviert 2" #U
UP
RETURN

:seg64le STRING "Segment" 16 #>bzeilele
QWORD "VM-Adresse" #H16
QWORD "VM-Größe" #H
QWORD "Datei-Offset" #U
QWORD "Dateigröße" #U
DWORD "Maximaler Schutz" #H8
DWORD "Anfänglicher Schutz" #H8
:nsects64le DWORD "Abschnitte" #U
DWORD "Flags" #H8
LOOP nsects64le sect64le #G
RETURN
:sect64le
:szeile64le TEXT "Abschnitt"
DOWN
STRING "Name" 16 #>szeile64le
STRING "Segment" 16
QWORD "Adresse" #H16
QWORD "Größe" #U
DWORD "Offset" #U
DWORD "Ausrichtung (log2)" #U
DWORD "Verschiebungen ab" #U
DWORD "Verschiebungen" #U
DWORD "Flags" #H8
DWORD "Reserviert 1" #U
DWORD "Reserviert 2" #U
DWORD "Reserviert 3" #U
UP
RETURN

:symtable DWORD "Symbole ab" #U
DWORD "Symbole" #U
DWORD "Zeichenketten ab" #U
DWORD "Größe der Zeichenketten" #U
RETURN

; der Name steht im Befehl ab dem angegebenen Offset
:dylible
:nameable DWORD "Name ab" #U
DWORD "Zeitstempel" #U
DWORD "Aktuelle Version" #H8
DWORD "Kompatible Version" #H8
SEEK bstartle #MA
SEEK nameable
STRING "Name" #>bzeilele
RETURN
:pfadle
:pfadable DWORD "Pfad ab" #U
SEEK bstartle #MA
SEEK pfadable
STRING "Pfad" #>bzeilele
RETURN

:uuidle BYTE "UUID" 16 #HK2
RETURN
:mainle QWORD "Einsprungpunkt (Datei-Offset)" #H
QWORD "Stapelgröße" #U
RETURN

; ---- Big-Endian ----
:kopfbe TEXT "Mach-O-Kopf"
DOWN
DWORD "Magie" #MH8"0xFEEDFACE:32 Bit:0xFEEDFACF:64 Bit"
DWORD "CPU-Typ" #MH8"7:x86:0x01000007:x86-64:12:ARM:0x0100000C:ARM64:0x0200000C:ARM64_32:18:PowerPC:0x01000012:PowerPC64"
DWORD "CPU-Untertyp" #MH8
DWORD "Dateityp" #M"1:Objektdatei:2:Programm:3:feste Bibliothek:4:Speicherabzug:5:vorgeladen:6:dynamische Bibliothek:7:dynamischer Linker:8:Bündel:9:Bibliotheksstummel:10:Debug-Symbole:11:Kernel-Erweiterung"
DWORD "Ladebefehle" #MU
CALL be32 #G
MOV ncmdsbe LOCAL_3
DWORD "Größe der Ladebefehle" #MU
DWORD "Flags" #MH8
IF breite == 32 GOTO ohnereservebe
DWORD "Reserviert" #MH8
:ohnereservebe UP
TEXT "Ladebefehle"
DOWN
LOOP ncmdsbe befehlbe #G
UP
RETURN

:befehlbe IF abbruch != 0 RETURN
:bstartbe OFFSET #N
:bzeilebe TEXT "Ladebefehl"
DOWN
DWORD "Befehl" #MH8>bzeilebe"0x1:LC_SEGMENT:0x2:LC_SYMTAB:0xB:LC_DYSYMTAB:0xC:LC_LOAD_DYLIB:0xD:LC_ID_DYLIB:0xE:LC_LOAD_DYLINKER:0xF:LC_ID_DYLINKER:0x19:LC_SEGMENT_64:0x1B:LC_UUID:0x1D:LC_CODE_SIGNATURE:0x24:LC_VERSION_MIN_MACOSX:0x25:LC_VERSION_MIN_IPHONEOS:0x26:LC_FUNCTION_STARTS:0x29:LC_DATA_IN_CODE:0x2A:LC_SOURCE_VERSION:0x32:LC_BUILD_VERSION:0x80000018:LC_LOAD_WEAK_DYLIB:0x8000001C:LC_RPATH:0x80000022:LC_DYLD_INFO_ONLY:0x80000028:LC_MAIN:0x80000033:LC_DYLD_EXPORTS_TRIE:0x80000034:LC_DYLD_CHAINED_FIXUPS"
CALL be32 #G
MOV cmdbe LOCAL_3
DWORD "Größe" #MU
CALL be32 #G
MOV groessebe LOCAL_3
IF groessebe < 8 GOTO kaputtbe
IF cmdbe == 0x1 CALL seg32be
IF cmdbe == 0x19 CALL seg64be
IF cmdbe == 0x2 CALL symtabbe
IF cmdbe == 0xC CALL dylibbe
IF cmdbe == 0xD CALL dylibbe
IF cmdbe == 0x80000018 CALL dylibbe
IF cmdbe == 0xE CALL pfadbe
IF cmdbe == 0xF CALL pfadbe
IF cmdbe == 0x8000001C CALL pfadbe
IF cmdbe == 0x1B CALL uuidbe
IF cmdbe == 0x80000028 CALL mainbe
SEEK bstartbe #MA
SEEK groessebe
UP
RETURN
; eine Größe unter 8 bewegte sich nicht weiter: die Liste endet hier
:kaputtbe TEXT "Ungültige Länge: Auswertung beendet"
MOV abbruch 1
UP
RETURN

:seg32be STRING "Segment" 16 #>bzeilebe
DWORD "VM-Adresse" #MH8
DWORD "VM-Größe" #MH8
DWORD "Datei-Offset" #MU
DWORD "Dateigröße" #MU
DWORD "Maximaler Schutz" #MH8
DWORD "Anfänglicher Schutz" #MH8
DWORD "Abschnitte" #MU
CALL be32 #G
MOV nsects32be LOCAL_3
DWORD "Flags" #MH8
LOOP nsects32be sect32be #G
RETURN
:sect32be
:szeile32be TEXT "Abschnitt"
DOWN
STRING "Name" 16 #>szeile32be
STRING "Segment" 16
DWORD "Adresse" #MH8
DWORD "Größe" #MU
DWORD "Offset" #MU
DWORD "Ausrichtung (log2)" #MU
DWORD "Verschiebungen ab" #MU
DWORD "Verschiebungen" #MU
DWORD "Flags" #MH8
DWORD "Reserviert 1" #MU
DWORD "Reserviert 2" #MU
UP
RETURN

:seg64be STRING "Segment" 16 #>bzeilebe
QWORD "VM-Adresse" #MH16
QWORD "VM-Größe" #MH
QWORD "Datei-Offset" #MU
QWORD "Dateigröße" #MU
DWORD "Maximaler Schutz" #MH8
DWORD "Anfänglicher Schutz" #MH8
DWORD "Abschnitte" #MU
CALL be32 #G
MOV nsects64be LOCAL_3
DWORD "Flags" #MH8
LOOP nsects64be sect64be #G
RETURN
:sect64be
:szeile64be TEXT "Abschnitt"
DOWN
STRING "Name" 16 #>szeile64be
STRING "Segment" 16
QWORD "Adresse" #MH16
QWORD "Größe" #MU
DWORD "Offset" #MU
DWORD "Ausrichtung (log2)" #MU
DWORD "Verschiebungen ab" #MU
DWORD "Verschiebungen" #MU
DWORD "Flags" #MH8
DWORD "Reserviert 1" #MU
DWORD "Reserviert 2" #MU
DWORD "Reserviert 3" #MU
UP
RETURN

:symtabbe DWORD "Symbole ab" #MU
DWORD "Symbole" #MU
DWORD "Zeichenketten ab" #MU
DWORD "Größe der Zeichenketten" #MU
RETURN

; der Name steht im Befehl ab dem angegebenen Offset
:dylibbe
DWORD "Name ab" #MU
CALL be32 #G
MOV nameabbe LOCAL_3
DWORD "Zeitstempel" #MU
DWORD "Aktuelle Version" #MH8
DWORD "Kompatible Version" #MH8
SEEK bstartbe #MA
SEEK nameabbe
STRING "Name" #>bzeilebe
RETURN
:pfadbe
DWORD "Pfad ab" #MU
CALL be32 #G
MOV pfadabbe LOCAL_3
SEEK bstartbe #MA
SEEK pfadabbe
STRING "Pfad" #>bzeilebe
RETURN

:uuidbe BYTE "UUID" 16 #HK2
RETURN
:mainbe QWORD "Einsprungpunkt (Datei-Offset)" #MH
QWORD "Stapelgröße" #MU
RETURN
; Werte
:breite MOV breite 0
:abbruch MOV abbruch 0
:ncmdsbe MOV ncmdsbe 0
:cmdbe MOV cmdbe 0
:groessebe MOV groessebe 0
:nsects32be MOV nsects32be 0
:nsects64be MOV nsects64be 0
:nameabbe MOV nameabbe 0
:pfadabbe MOV pfadabbe 0
; LOCAL_3 := die vier Bytes vor der Position, das höchste zuerst
:be32 SEEK -4
:b0 BYTE #N
:b1 BYTE #N
:b2 BYTE #N
:b3 BYTE #N
MOV LOCAL_3 b0
MUL LOCAL_3 256
ADD LOCAL_3 b1
MUL LOCAL_3 256
ADD LOCAL_3 b2
MUL LOCAL_3 256
ADD LOCAL_3 b3
RETURN
