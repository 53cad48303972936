; SPDX-License-Identifier: GPL-3.0-or-later
; GPT-Partitionstabellen: der Kopf in Sektor 1 (Sektoren zu 512 oder 4096 Bytes) und die
; belegten Partitionseinträge. Eine GUID steht in fünf Teilen, wie sie geschrieben wird;
; der erste Teil der Typ-GUID nennt auch den Partitionstyp.
MODUL "GPT"
BLOCK "GPT"
CALL datei
EXIT

:datei MOV sektor 512
SEEK 512 #A
IF kopf GOTO UNTIL "EFI PART" +0
MOV sektor 4096
SEEK 4096 #A
IF kopf GOTO UNTIL "EFI PART" +0
TEXT "Kein GPT-Kopf in Sektor 1"
RETURN

:kopf TEXT "GPT-Kopf"
DOWN
STRING "Signatur" 8
DWORD "Revision" #H8
DWORD "Kopfgröße" #U
DWORD "Kopf-CRC" #H8
DWORD "Reserviert" #H8
QWORD "Dieser Kopf (LBA)" #U
QWORD "Zweiter Kopf (LBA)" #U
QWORD "Erster nutzbarer Sektor" #U
QWORD "Letzter nutzbarer Sektor" #U
:datentraeger TEXT "Datenträger-GUID"
DOWN
DWORD "Teil 1" #HK8>datentraeger
WORD "Teil 2" #HK4
WORD "Teil 3" #HK4
BYTE "Teil 4" 2 #HK2
BYTE "Teil 5" 6 #HK2
UP
:tabelle QWORD "Partitionseinträge ab (LBA)" #U
:anzahl DWORD "Partitionseinträge" #U
:groesse DWORD "Größe eines Eintrags" #U
DWORD "Einträge-CRC" #H8
UP
IF groesse < 128 GOTO kaputt
IF anzahl < 0 GOTO zuviele
MOV epos tabelle
MUL epos sektor
MOV LOCAL_0 1
TEXT "Partitionen"
DOWN
LOOP anzahl eintrag #G
UP
RETURN
:kaputt TEXT "Ungültige Länge: Auswertung beendet"
RETURN
:zuviele TEXT "Ungültige Anzahl: Auswertung beendet"
RETURN

; ein Eintrag; leere (Typ-GUID null) werden übergangen
:eintrag SEEK epos #A
:g1 DWORD #N
:g2 DWORD #N
:g3 DWORD #N
:g4 DWORD #N
IF g1 != 0 GOTO belegt
IF g2 != 0 GOTO belegt
IF g3 != 0 GOTO belegt
IF g4 != 0 GOTO belegt
GOTO weiter
:belegt SEEK epos #A
:partition PRINT LOCAL_0 "Partition" #I
DOWN
:typ TEXT "Typ-GUID"
DOWN
DWORD "Teil 1" #HK8>typ"0xC12A7328:EFI-System:0x21686148:BIOS-Boot:0xEBD0A0A2:Microsoft Basisdaten:0xE3C9E316:Microsoft reserviert:0xDE94BBA4:Windows-Wiederherstellung:0x0FC63DAF:Linux-Dateisystem:0x0657FD6D:Linux Swap:0xE6D6D379:Linux LVM:0xA19D880F:Linux RAID:0x4F68BCE3:Linux Wurzel x86-64:0x933AC7E1:Linux /home:0xBC13C2FF:Linux /boot:0x48465300:Apple HFS+:0x7C3457EF:Apple APFS"
WORD "Teil 2" #HK4
WORD "Teil 3" #HK4
BYTE "Teil 4" 2 #HK2
BYTE "Teil 5" 6 #HK2
UP
:eindeutig TEXT "Eindeutige GUID"
DOWN
DWORD "Teil 1" #HK8>eindeutig
WORD "Teil 2" #HK4
WORD "Teil 3" #HK4
BYTE "Teil 4" 2 #HK2
BYTE "Teil 5" 6 #HK2
UP
QWORD "Erster Sektor" #U
QWORD "Letzter Sektor" #U
QWORD "Attribute" #H16
STRING "Name" 36 #U>partition
UP
:weiter ADD epos groesse
ADD LOCAL_0 1
RETURN

; Werte
:sektor MOV sektor 0
:epos MOV epos 0
