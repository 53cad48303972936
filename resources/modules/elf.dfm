; SPDX-License-Identifier: GPL-3.0-or-later
; ELF-Dateien: Kennung, Dateikopf, Programmköpfe und Abschnittsköpfe,
; für 32 und 64 Bit und beide Byte-Reihenfolgen.
MODUL "ELF"
BLOCK "ELF"
CALL datei
EXIT

:datei TEXT "Kennung"
DOWN
DWORD "Magie" #H8"1179403647:ELF"
:klasse BYTE "Klasse" #"1:32 Bit:2:64 Bit"
:ordnung BYTE "Daten" #"1:Little-Endian:2:Big-Endian"
BYTE "Version"
BYTE "OS/ABI" #"0:System V:3:Linux:6:Solaris:9:FreeBSD:12:OpenBSD"
BYTE "ABI-Version"
BYTE "Füllbytes" 7 #H2
UP
IF klasse == 1 GOTO k32
IF klasse != 2 RETURN
IF ordnung == 2 GOTO k64be
GOTO k64le
:k32 IF ordnung == 2 GOTO k32be
GOTO k32le

:k32le TEXT "Dateikopf"
DOWN
WORD "Typ" #"0:ET_NONE:1:ET_REL:2:ET_EXEC:3:ET_DYN:4:ET_CORE"
WORD "Maschine" #"3:x86:8:MIPS:20:PowerPC:21:PowerPC64:22:S390:40:ARM:42:SuperH:43:SPARC V9:50:IA-64:62:x86-64:183:AArch64:243:RISC-V"
DWORD "Version" #U
DWORD "Einsprungadresse" #H
:phoff32le DWORD "Programmköpfe ab" #H
MOV phoff phoff32le
:shoff32le DWORD "Abschnittsköpfe ab" #H
MOV shoff shoff32le
DWORD "Flags" #H8
WORD "Kopfgröße"
:phent32le WORD "Größe eines Programmkopfs"
MOV phent phent32le
:phnum32le WORD "Programmköpfe"
MOV phnum phnum32le
:shent32le WORD "Größe eines Abschnittskopfs"
MOV shent shent32le
:shnum32le WORD "Abschnittsköpfe"
MOV shnum shnum32le
:shstrndx32le WORD "Abschnitt der Namen"
MOV shstrndx shstrndx32le
UP
CALL tabellen #G
RETURN

:ph32le TEXT "Programmkopf"
DOWN
DWORD "Typ" #"0:PT_NULL:1:PT_LOAD:2:PT_DYNAMIC:3:PT_INTERP:4:PT_NOTE:5:PT_SHLIB:6:PT_PHDR:7:PT_TLS:1685382480:PT_GNU_EH_FRAME:1685382481:PT_GNU_STACK:1685382482:PT_GNU_RELRO:1685382483:PT_GNU_PROPERTY"
DWORD "Offset" #H
DWORD "Virtuelle Adresse" #H
DWORD "Physische Adresse" #H
DWORD "Größe in der Datei" #U
DWORD "Größe im Speicher" #U
DWORD "Flags" #H
DWORD "Ausrichtung" #H
UP
SEEK phent #A
RETURN

:sh32le SEEK shpos #A
:shk32le TEXT "Abschnittskopf"
DOWN
:shn32le DWORD "Name (Index)" #U
MOV shname shn32le
DWORD "Typ" #"0:SHT_NULL:1:SHT_PROGBITS:2:SHT_SYMTAB:3:SHT_STRTAB:4:SHT_RELA:5:SHT_HASH:6:SHT_DYNAMIC:7:SHT_NOTE:8:SHT_NOBITS:9:SHT_REL:11:SHT_DYNSYM:14:SHT_INIT_ARRAY:15:SHT_FINI_ARRAY:1879048182:SHT_GNU_HASH:1879048190:SHT_GNU_verneed:1879048191:SHT_GNU_versym"
DWORD "Flags" #H
DWORD "Adresse" #H
DWORD "Offset" #H
DWORD "Größe" #U
DWORD "Verweis" #U
DWORD "Info" #U
DWORD "Ausrichtung" #U
DWORD "Eintragsgröße" #U
UP
ADD shpos shent
IF strtab == 0 RETURN
MOV LOCAL_1 strtab
ADD LOCAL_1 shname
SEEK LOCAL_1 #A
STRING "Name" #N>shk32le
RETURN

:k32be TEXT "Dateikopf"
DOWN
WORD "Typ" #M"0:ET_NONE:1:ET_REL:2:ET_EXEC:3:ET_DYN:4:ET_CORE"
WORD "Maschine" #M"3:x86:8:MIPS:20:PowerPC:21:PowerPC64:22:S390:40:ARM:42:SuperH:43:SPARC V9:50:IA-64:62:x86-64:183:AArch64:243:RISC-V"
DWORD "Version" #MU
DWORD "Einsprungadresse" #MH
DWORD "Programmköpfe ab" #MH
CALL be32 #G
MOV phoff LOCAL_3
DWORD "Abschnittsköpfe ab" #MH
CALL be32 #G
MOV shoff LOCAL_3
DWORD "Flags" #MH8
WORD "Kopfgröße" #M
WORD "Größe eines Programmkopfs" #M
CALL be16 #G
MOV phent LOCAL_3
WORD "Programmköpfe" #M
CALL be16 #G
MOV phnum LOCAL_3
WORD "Größe eines Abschnittskopfs" #M
CALL be16 #G
MOV shent LOCAL_3
WORD "Abschnittsköpfe" #M
CALL be16 #G
MOV shnum LOCAL_3
WORD "Abschnitt der Namen" #M
CALL be16 #G
MOV shstrndx LOCAL_3
UP
CALL tabellen #G
RETURN

:ph32be TEXT "Programmkopf"
DOWN
DWORD "Typ" #M"0:PT_NULL:1:PT_LOAD:2:PT_DYNAMIC:3:PT_INTERP:4:PT_NOTE:5:PT_SHLIB:6:PT_PHDR:7:PT_TLS:1685382480:PT_GNU_EH_FRAME:1685382481:PT_GNU_STACK:1685382482:PT_GNU_RELRO:1685382483:PT_GNU_PROPERTY"
DWORD "Offset" #MH
DWORD "Virtuelle Adresse" #MH
DWORD "Physische Adresse" #MH
DWORD "Größe in der Datei" #MU
DWORD "Größe im Speicher" #MU
DWORD "Flags" #MH
DWORD "Ausrichtung" #MH
UP
SEEK phent #A
RETURN

:sh32be SEEK shpos #A
:shk32be TEXT "Abschnittskopf"
DOWN
DWORD "Name (Index)" #MU
CALL be32 #G
MOV shname LOCAL_3
DWORD "Typ" #M"0:SHT_NULL:1:SHT_PROGBITS:2:SHT_SYMTAB:3:SHT_STRTAB:4:SHT_RELA:5:SHT_HASH:6:SHT_DYNAMIC:7:SHT_NOTE:8:SHT_NOBITS:9:SHT_REL:11:SHT_DYNSYM:14:SHT_INIT_ARRAY:15:SHT_FINI_ARRAY:1879048182:SHT_GNU_HASH:1879048190:SHT_GNU_verneed:1879048191:SHT_GNU_versym"
DWORD "Flags" #MH
DWORD "Adresse" #MH
DWORD "Offset" #MH
DWORD "Größe" #MU
DWORD "Verweis" #MU
DWORD "Info" #MU
DWORD "Ausrichtung" #MU
DWORD "Eintragsgröße" #MU
UP
ADD shpos shent
IF strtab == 0 RETURN
MOV LOCAL_1 strtab
ADD LOCAL_1 shname
SEEK LOCAL_1 #A
STRING "Name" #N>shk32be
RETURN

:k64le TEXT "Dateikopf"
DOWN
WORD "Typ" #"0:ET_NONE:1:ET_REL:2:ET_EXEC:3:ET_DYN:4:ET_CORE"
WORD "Maschine" #"3:x86:8:MIPS:20:PowerPC:21:PowerPC64:22:S390:40:ARM:42:SuperH:43:SPARC V9:50:IA-64:62:x86-64:183:AArch64:243:RISC-V"
DWORD "Version" #U
QWORD "Einsprungadresse" #H
:phoff64le QWORD "Programmköpfe ab" #H
MOV phoff phoff64le
:shoff64le QWORD "Abschnittsköpfe ab" #H
MOV shoff shoff64le
DWORD "Flags" #H8
WORD "Kopfgröße"
:phent64le WORD "Größe eines Programmkopfs"
MOV phent phent64le
:phnum64le WORD "Programmköpfe"
MOV phnum phnum64le
:shent64le WORD "Größe eines Abschnittskopfs"
MOV shent shent64le
:shnum64le WORD "Abschnittsköpfe"
MOV shnum shnum64le
:shstrndx64le WORD "Abschnitt der Namen"
MOV shstrndx shstrndx64le
UP
CALL tabellen #G
RETURN

:ph64le TEXT "Programmkopf"
DOWN
DWORD "Typ" #"0:PT_NULL:1:PT_LOAD:2:PT_DYNAMIC:3:PT_INTERP:4:PT_NOTE:5:PT_SHLIB:6:PT_PHDR:7:PT_TLS:1685382480:PT_GNU_EH_FRAME:1685382481:PT_GNU_STACK:1685382482:PT_GNU_RELRO:1685382483:PT_GNU_PROPERTY"
DWORD "Flags" #H
QWORD "Offset" #H
QWORD "Virtuelle Adresse" #H
QWORD "Physische Adresse" #H
QWORD "Größe in der Datei"
QWORD "Größe im Speicher"
QWORD "Ausrichtung" #H
UP
SEEK phent #A
RETURN

:sh64le SEEK shpos #A
:shk64le TEXT "Abschnittskopf"
DOWN
:shn64le DWORD "Name (Index)" #U
MOV shname shn64le
DWORD "Typ" #"0:SHT_NULL:1:SHT_PROGBITS:2:SHT_SYMTAB:3:SHT_STRTAB:4:SHT_RELA:5:SHT_HASH:6:SHT_DYNAMIC:7:SHT_NOTE:8:SHT_NOBITS:9:SHT_REL:11:SHT_DYNSYM:14:SHT_INIT_ARRAY:15:SHT_FINI_ARRAY:1879048182:SHT_GNU_HASH:1879048190:SHT_GNU_verneed:1879048191:SHT_GNU_versym"
QWORD "Flags" #H
QWORD "Adresse" #H
QWORD "Offset" #H
QWORD "Größe"
DWORD "Verweis" #U
DWORD "Info" #U
QWORD "Ausrichtung"
QWORD "Eintragsgröße"
UP
ADD shpos shent
IF strtab == 0 RETURN
MOV LOCAL_1 strtab
ADD LOCAL_1 shname
SEEK LOCAL_1 #A
STRING "Name" #N>shk64le
RETURN

:k64be TEXT "Dateikopf"
DOWN
WORD "Typ" #M"0:ET_NONE:1:ET_REL:2:ET_EXEC:3:ET_DYN:4:ET_CORE"
WORD "Maschine" #M"3:x86:8:MIPS:20:PowerPC:21:PowerPC64:22:S390:40:ARM:42:SuperH:43:SPARC V9:50:IA-64:62:x86-64:183:AArch64:243:RISC-V"
DWORD "Version" #MU
QWORD "Einsprungadresse" #MH
QWORD "Programmköpfe ab" #MH
CALL be32 #G
MOV phoff LOCAL_3
QWORD "Abschnittsköpfe ab" #MH
CALL be32 #G
MOV shoff LOCAL_3
DWORD "Flags" #MH8
WORD "Kopfgröße" #M
WORD "Größe eines Programmkopfs" #M
CALL be16 #G
MOV phent LOCAL_3
WORD "Programmköpfe" #M
CALL be16 #G
MOV phnum LOCAL_3
WORD "Größe eines Abschnittskopfs" #M
CALL be16 #G
MOV shent LOCAL_3
WORD "Abschnittsköpfe" #M
CALL be16 #G
MOV shnum LOCAL_3
WORD "Abschnitt der Namen" #M
CALL be16 #G
MOV shstrndx LOCAL_3
UP
CALL tabellen #G
RETURN

:ph64be TEXT "Programmkopf"
DOWN
DWORD "Typ" #M"0:PT_NULL:1:PT_LOAD:2:PT_DYNAMIC:3:PT_INTERP:4:PT_NOTE:5:PT_SHLIB:6:PT_PHDR:7:PT_TLS:1685382480:PT_GNU_EH_FRAME:1685382481:PT_GNU_STACK:1685382482:PT_GNU_RELRO:1685382483:PT_GNU_PROPERTY"
DWORD "Flags" #MH
QWORD "Offset" #MH
QWORD "Virtuelle Adresse" #MH
QWORD "Physische Adresse" #MH
QWORD "Größe in der Datei" #M
QWORD "Größe im Speicher" #M
QWORD "Ausrichtung" #MH
UP
SEEK phent #A
RETURN

:sh64be SEEK shpos #A
:shk64be TEXT "Abschnittskopf"
DOWN
DWORD "Name (Index)" #MU
CALL be32 #G
MOV shname LOCAL_3
DWORD "Typ" #M"0:SHT_NULL:1:SHT_PROGBITS:2:SHT_SYMTAB:3:SHT_STRTAB:4:SHT_RELA:5:SHT_HASH:6:SHT_DYNAMIC:7:SHT_NOTE:8:SHT_NOBITS:9:SHT_REL:11:SHT_DYNSYM:14:SHT_INIT_ARRAY:15:SHT_FINI_ARRAY:1879048182:SHT_GNU_HASH:1879048190:SHT_GNU_verneed:1879048191:SHT_GNU_versym"
QWORD "Flags" #MH
QWORD "Adresse" #MH
QWORD "Offset" #MH
QWORD "Größe" #M
DWORD "Verweis" #MU
DWORD "Info" #MU
QWORD "Ausrichtung" #M
QWORD "Eintragsgröße" #M
UP
ADD shpos shent
IF strtab == 0 RETURN
MOV LOCAL_1 strtab
ADD LOCAL_1 shname
SEEK LOCAL_1 #A
STRING "Name" #N>shk64be
RETURN

; die Tabellen, über die Werte aus dem Dateikopf
:tabellen IF phnum == 0 GOTO abschnitte
; Einträge der Größe 0 lägen alle übereinander
IF phent == 0 GOTO kaputt
SEEK phoff #A
TEXT "Programmköpfe"
DOWN
IF klasse == 2 GOTO ph64
IF ordnung == 2 GOTO ph32b
LOOP phnum ph32le
GOTO phende
:ph32b LOOP phnum ph32be
GOTO phende
:ph64 IF ordnung == 2 GOTO ph64b
LOOP phnum ph64le
GOTO phende
:ph64b LOOP phnum ph64be
:phende UP
:abschnitte IF shnum == 0 RETURN
IF shent == 0 GOTO kaputt
; die Namen stehen im Abschnitt "Abschnitt der Namen": dessen Offset lesen
MOV strtab 0
IF shstrndx == 0 GOTO ohnenamen
; ein Index außerhalb der Tabelle: keine Namen
MOV LOCAL_1 shstrndx
SUB LOCAL_1 shnum
IF LOCAL_1 >= 0 GOTO ohnenamen
MOV LOCAL_1 shstrndx
MUL LOCAL_1 shent
ADD LOCAL_1 shoff
ADD LOCAL_1 16
IF klasse == 1 GOTO namenab
ADD LOCAL_1 8
IF ordnung == 2 ADD LOCAL_1 4
:namenab SEEK LOCAL_1 #A
:strle DWORD #N
MOV strtab strle
IF ordnung == 1 GOTO ohnenamen
CALL be32 #G
MOV strtab LOCAL_3
:ohnenamen MOV shpos shoff
SEEK shoff #A
TEXT "Abschnittsköpfe"
DOWN
IF klasse == 2 GOTO sh64
IF ordnung == 2 GOTO sh32b
LOOP shnum sh32le #G
GOTO shende
:sh32b LOOP shnum sh32be #G
GOTO shende
:sh64 IF ordnung == 2 GOTO sh64b
LOOP shnum sh64le #G
GOTO shende
:sh64b LOOP shnum sh64be #G
:shende UP
RETURN
:kaputt TEXT "Ungültige Länge: Auswertung beendet"
RETURN

; Werte aus dem Dateikopf
:phoff MOV phoff 0
:shoff MOV shoff 0
:phent MOV phent 0
:phnum MOV phnum 0
:shent MOV shent 0
:shnum MOV shnum 0
:shstrndx MOV shstrndx 0
:strtab MOV strtab 0
:shpos MOV shpos 0
:shname MOV shname 0

; LOCAL_3 := die Bytes vor der Position, das höchste zuerst
:be32 SEEK -4
:b3 BYTE #N
:b2 BYTE #N
MOV LOCAL_3 b3
MUL LOCAL_3 256
ADD LOCAL_3 b2
MUL LOCAL_3 65536
GOTO be16b
:be16 MOV LOCAL_3 0
SEEK -2
:be16b
:b1 BYTE #N
:b0 BYTE #N
MOV LOCAL_2 b1
MUL LOCAL_2 256
ADD LOCAL_3 LOCAL_2
ADD LOCAL_3 b0
RETURN
