; SPDX-License-Identifier: GPL-3.0-or-later
; SquashFS-Dateisysteme (Version 4): der Superblock mit seinen Flags und die Offsets der
; Tabellen, die ihm folgen.
MODUL "SquashFS"
BLOCK "SquashFS"
CALL datei
EXIT

:datei TEXT "Superblock"
DOWN
STRING "Kennung" 4
DWORD "Inodes" #U
DWORD "Erstellt (Unix-Zeit)" #U
DWORD "Blockgröße" #U
DWORD "Fragmente" #U
WORD "Kompression" #"1:gzip:2:lzma:3:lzo:4:xz:5:lz4:6:zstd"
WORD "Blockgröße (log2)"
:flags WORD "Flags" #H4
SEEK -2
DOWN
BIT "Inodes unkomprimiert" 1 #"0:nein:1:ja"
BIT "Daten unkomprimiert" 1 #"0:nein:1:ja"
BIT "Prüfung (unbenutzt)" 1 #"0:nein:1:ja"
BIT "Fragmente unkomprimiert" 1 #"0:nein:1:ja"
BIT "Keine Fragmente" 1 #"0:nein:1:ja"
BIT "Immer Fragmente" 1 #"0:nein:1:ja"
BIT "Doppelte entfernt" 1 #"0:nein:1:ja"
BIT "Über NFS exportierbar" 1 #"0:nein:1:ja"
BIT "Xattrs unkomprimiert" 1 #"0:nein:1:ja"
BIT "Keine Xattrs" 1 #"0:nein:1:ja"
:optionen BIT "Kompressoroptionen" 1 #"0:nein:1:ja"
BIT "IDs unkomprimiert" 1 #"0:nein:1:ja"
BIT "Reserviert" 4
UP
WORD "IDs" #U
WORD "Hauptversion"
WORD "Nebenversion"
QWORD "Wurzel-Inode" #H
QWORD "Belegte Bytes" #U
QWORD "ID-Tabelle ab" #H
QWORD "Xattr-Tabelle ab" #H
QWORD "Inode-Tabelle ab" #H
QWORD "Verzeichnistabelle ab" #H
QWORD "Fragmenttabelle ab" #H
QWORD "Exporttabelle ab" #H
UP
IF optionen == 0 RETURN
; die Optionen des Kompressors stehen in einem Metadatenblock: 15 Bit Länge, Bit 15 unkomprimiert
TEXT "Kompressoroptionen"
DOWN
WORD "Blockkopf" #H4
SEEK -2
DOWN
:blocklaenge BIT "Länge" 15
BIT "Unkomprimiert" 1 #"0:nein:1:ja"
UP
BYTE "Optionen" blocklaenge #H2
UP
RETURN
