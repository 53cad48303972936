; SPDX-License-Identifier: GPL-3.0-or-later
; U-Boot-Images im alten Format (mkimage): der 64 Byte lange Kopf, die Daten und bei
; mehrteiligen Images die Liste der Teile. Zahlen stehen mit dem höchsten Byte vorn (#M).
MODUL "U-Boot"
BLOCK "U-Boot-Image"
CALL datei
EXIT

:datei TEXT "Image-Kopf"
DOWN
DWORD "Magie" #MH8"654645590:U-Boot"
DWORD "Kopf-CRC" #MH8
DWORD "Erstellt (Unix-Zeit)" #MU
DWORD "Datengröße" #MU
CALL be32 #G
MOV datengroesse LOCAL_3
DWORD "Ladeadresse" #MH8
DWORD "Einsprungadresse" #MH8
DWORD "Daten-CRC" #MH8
BYTE "Betriebssystem" #"0:ungültig:1:OpenBSD:2:NetBSD:3:FreeBSD:4:4_4BSD:5:Linux:6:SVR4:7:Esix:8:Solaris:9:Irix:10:SCO:11:Dell:12:NCR:13:LynxOS:14:VxWorks:15:pSOS:16:QNX:17:U-Boot:18:RTEMS:19:ARTOS:20:Unity:21:INTEGRITY:22:Enea OSE:23:Plan 9:24:OpenRTOS:25:ARM Trusted Firmware:26:Trusted Execution Environment:27:RISC-V OpenSBI:28:EFI Firmware"
BYTE "Architektur" #"0:ungültig:1:Alpha:2:ARM:3:Intel x86:4:IA64:5:MIPS:6:MIPS 64 Bit:7:PowerPC:8:IBM S390:9:SuperH:10:SPARC:11:SPARC 64 Bit:12:M68K:14:MicroBlaze:15:NIOS II:16:Blackfin:17:AVR32:19:Sandbox:20:NDS32:21:OpenRISC 1000:22:AArch64:23:ARC:24:AMD x86_64:25:Xtensa:26:RISC-V"
:typ BYTE "Typ" #"0:ungültig:1:Standalone-Programm:2:Kernel:3:RAM-Disk:4:Mehrteilig:5:Firmware:6:Skript:7:Dateisystem:8:Device Tree:14:Kernel ohne Laden:32:Firmware mit HABv4 IVT"
BYTE "Kompression" #"0:keine:1:gzip:2:bzip2:3:lzma:4:lzo:5:lz4:6:zstd"
STRING "Name" 32
UP
IF typ == 4 GOTO mehrteilig
:daten TEXT "Daten"
SPRINT datengroesse daten #R
RETURN

; mehrteilig: die Größen der Teile bis zu einer 0, dann die Teile, jeder auf 4 Bytes aufgefüllt
:mehrteilig TEXT "Teilgrößen"
DOWN
:liste OFFSET #N
MOV LOCAL_0 0
:naechste DWORD "Größe" LOCAL_0 #IMU
CALL be32 #G
IF LOCAL_3 == 0 GOTO gezaehlt
ADD LOCAL_0 1
GOTO naechste
:gezaehlt UP
:datenab OFFSET #N
MOV teile LOCAL_0
IF teile == 0 RETURN
TEXT "Teile"
DOWN
MOV LOCAL_0 0
LOOP teile teil #G
UP
RETURN

:teil MOV LOCAL_1 LOCAL_0
MUL LOCAL_1 4
ADD LOCAL_1 liste
ADD LOCAL_1 4
SEEK LOCAL_1 #A
CALL be32 #G
SEEK datenab #A
:bild PRINT LOCAL_0 "Teil"
SPRINT LOCAL_3 bild #R
IF LOCAL_3 < 0 GOTO kaputt
ADD datenab LOCAL_3
ADD datenab 3
AND datenab -4
ADD LOCAL_0 1
RETURN
:kaputt TEXT "Ungültige Länge: Auswertung beendet"
MOV teile 0
RETURN

; Werte
:datengroesse MOV datengroesse 0
:teile MOV teile 0

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
