; SPDX-License-Identifier: GPL-3.0-or-later
; MBR-Partitionstabellen: Startcode, Datenträgerkennung, die vier Einträge und die
; logischen Partitionen in der Kette der erweiterten Bootsätze. Sektoren zu 512 Bytes.
MODUL "MBR"
BLOCK "MBR"
CALL datei
EXIT

:datei
:code TEXT "Startcode"
MOV LOCAL_2 440
SPRINT LOCAL_2 code #R
SEEK 440
DWORD "Datenträgerkennung" #H8
WORD "Reserviert" #H4
TEXT "Partitionstabelle"
DOWN
MOV LOCAL_0 1
LOOP 4 eintrag #G
UP
WORD "Signatur" #H4"43605:gültig"
IF erweitert == 0 RETURN
; die logischen Partitionen: eine Kette von Bootsätzen in der erweiterten Partition
TEXT "Logische Partitionen"
DOWN
MOV LOCAL_0 5
MOV naechster 0
:bootsatz MOV LOCAL_1 erweitert
ADD LOCAL_1 naechster
CALL sektor #G
:ebr PRINT LOCAL_1 "Erweiterter Bootsatz"
DOWN
SEEK 446
:logisch PRINT LOCAL_0 "Partition" #I
DOWN
BYTE "Status" #H2"0:inaktiv:128:aktiv"
BYTE "CHS Anfang" 3 #H2
BYTE "Typ" #H2>logisch"0:leer:1:FAT12:4:FAT16 <32M:5:Erweitert:6:FAT16:7:NTFS/exFAT:11:FAT32:12:FAT32 LBA:14:FAT16 LBA:15:Erweitert LBA:130:Linux Swap:131:Linux:133:Linux erweitert:142:Linux LVM:165:FreeBSD:166:OpenBSD:169:NetBSD:175:macOS HFS+:191:Solaris:218:Nicht-FS-Daten:238:GPT-Schutz:239:EFI-System:251:VMware VMFS:253:Linux RAID"
BYTE "CHS Ende" 3 #H2
:relativ DWORD "Abstand zum Bootsatz" #U
MOV LOCAL_2 relativ
ADD LOCAL_2 LOCAL_1
PRINT LOCAL_2 "Erster Sektor (LBA)" #U
DWORD "Sektoren" #U
UP
TEXT "Verweis"
DOWN
BYTE "Status" #H2
BYTE "CHS Anfang" 3 #H2
:vtyp BYTE "Typ" #H2"0:Ende der Kette:5:Erweitert:15:Erweitert LBA"
BYTE "CHS Ende" 3 #H2
:folgt DWORD "Nächster Bootsatz (relativ)" #U
DWORD "Sektoren" #U
UP
; die übrigen zwei Einträge bleiben leer
SEEK 32
WORD "Signatur" #H4"43605:gültig"
UP
IF vtyp == 0 GOTO kettenende
; ein Verweis zurück oder auf sich selbst liefe im Kreis
MOV LOCAL_2 folgt
SUB LOCAL_2 naechster
IF LOCAL_2 <= 0 GOTO rueckwaerts
MOV naechster folgt
ADD LOCAL_0 1
GOTO bootsatz
:rueckwaerts TEXT "Verweis zurück: Auswertung beendet"
:kettenende UP
RETURN

:eintrag
:partition PRINT LOCAL_0 "Partition" #I
DOWN
BYTE "Status" #H2"0:inaktiv:128:aktiv"
BYTE "CHS Anfang" 3 #H2
:ptyp BYTE "Typ" #H2>partition"0:leer:1:FAT12:4:FAT16 <32M:5:Erweitert:6:FAT16:7:NTFS/exFAT:11:FAT32:12:FAT32 LBA:14:FAT16 LBA:15:Erweitert LBA:130:Linux Swap:131:Linux:133:Linux erweitert:142:Linux LVM:165:FreeBSD:166:OpenBSD:169:NetBSD:175:macOS HFS+:191:Solaris:218:Nicht-FS-Daten:238:GPT-Schutz:239:EFI-System:251:VMware VMFS:253:Linux RAID"
BYTE "CHS Ende" 3 #H2
:pstart DWORD "Erster Sektor (LBA)" #U
DWORD "Sektoren" #U
UP
ADD LOCAL_0 1
IF erweitert != 0 RETURN
IF ptyp == 5 GOTO erw
IF ptyp == 15 GOTO erw
IF ptyp == 133 GOTO erw
RETURN
:erw MOV erweitert pstart
RETURN

; an den Anfang des Sektors LOCAL_1: 512 = 8 mal 64
:sektor SEEK 0 #A
SEEK LOCAL_1 #64
SEEK LOCAL_1 #64
SEEK LOCAL_1 #64
SEEK LOCAL_1 #64
SEEK LOCAL_1 #64
SEEK LOCAL_1 #64
SEEK LOCAL_1 #64
SEEK LOCAL_1 #64
RETURN

; Werte
:erweitert MOV erweitert 0
:naechster MOV naechster 0
