; SPDX-License-Identifier: GPL-3.0-or-later
; PE/COFF-Dateien (EXE, DLL): DOS-Kopf, NT-Köpfe, optionaler Kopf für PE32 und PE32+,
; Datenverzeichnisse und die Abschnittstabelle mit den RVAs der Abschnitte.
MODUL "PE"
BLOCK "PE"
CALL datei
EXIT

:datei TEXT "DOS-Kopf"
DOWN
WORD "Kennung" #HX"23117:MZ"
WORD "Bytes auf der letzten Seite"
WORD "Seiten"
WORD "Verschiebungen"
WORD "Kopfgröße in Absätzen"
SEEK 0x3C #A
:lfanew DWORD "NT-Köpfe ab" #H
UP
SEEK lfanew #A
TEXT "NT-Köpfe"
DOWN
DWORD "Signatur" #H8"17744:PE"
TEXT "Dateikopf"
DOWN
WORD "Maschine" #H4"332:i386:34404:AMD64:448:ARM:452:ARMv7:43620:ARM64:512:IA-64"
:abschnitte WORD "Abschnitte"
DWORD "Zeitstempel" #H8
DWORD "Symboltabelle ab" #H
DWORD "Symbole" #U
:optgroesse WORD "Größe des optionalen Kopfs"
WORD "Merkmale" #H4
UP
IF optgroesse == 0 GOTO tabelle
TEXT "Optionaler Kopf"
DOWN
:magie WORD "Magie" #H"267:PE32:523:PE32+"
BYTE "Linker Hauptversion"
BYTE "Linker Nebenversion"
DWORD "Größe des Codes" #U
DWORD "Größe der initialisierten Daten" #U
DWORD "Größe der nicht initialisierten Daten" #U
DWORD "Einsprungpunkt (RVA)" #H
DWORD "Code ab (RVA)" #H
IF magie == 523 GOTO plus
DWORD "Daten ab (RVA)" #H
DWORD "Image-Basis" #H
GOTO gemeinsam
:plus QWORD "Image-Basis" #H
:gemeinsam DWORD "Abschnittsausrichtung" #H
DWORD "Dateiausrichtung" #H
WORD "BS Hauptversion"
WORD "BS Nebenversion"
WORD "Image Hauptversion"
WORD "Image Nebenversion"
WORD "Subsystem Hauptversion"
WORD "Subsystem Nebenversion"
DWORD "Win32-Version"
DWORD "Image-Größe" #H
DWORD "Größe der Köpfe" #H
DWORD "Prüfsumme" #H8
WORD "Subsystem" #"1:Native:2:Windows GUI:3:Windows Konsole:9:Windows CE:10:EFI-Anwendung"
WORD "DLL-Merkmale" #H4
IF magie == 523 GOTO plus2
DWORD "Stack reserviert" #H
DWORD "Stack zugesagt" #H
DWORD "Heap reserviert" #H
DWORD "Heap zugesagt" #H
GOTO gemeinsam2
:plus2 QWORD "Stack reserviert" #H
QWORD "Stack zugesagt" #H
QWORD "Heap reserviert" #H
QWORD "Heap zugesagt" #H
:gemeinsam2 DWORD "Lader-Flags" #H
:verzeichnisse DWORD "Anzahl der Verzeichnisse" #U
TEXT "Datenverzeichnisse"
DOWN
MOV LOCAL_0 0
LOOP verzeichnisse verzeichnis #G
UP
UP
; die Abschnittstabelle folgt dem optionalen Kopf
:tabelle UP
MOV LOCAL_1 lfanew
ADD LOCAL_1 24
ADD LOCAL_1 optgroesse
SEEK LOCAL_1 #A
IF abschnitte == 0 RETURN
TEXT "Abschnittstabelle"
DOWN
LOOP abschnitte abschnitt
UP
RETURN

:verzeichnis PRINT LOCAL_0 "Verzeichnis" #"0:Export:1:Import:2:Ressourcen:3:Ausnahmen:4:Zertifikate:5:Verschiebungen:6:Debug:7:Architektur:8:Globaler Zeiger:9:TLS:10:Ladekonfiguration:11:Gebundener Import:12:IAT:13:Verzögerter Import:14:CLR"
DOWN
DWORD "RVA" #H
DWORD "Größe" #U
UP
ADD LOCAL_0 1
RETURN

:abschnitt TEXT "Abschnitt"
DOWN
STRING "Name" 8 #>abschnitt
DWORD "Virtuelle Größe" #H
DWORD "RVA" #H
DWORD "Größe in der Datei" #H
DWORD "In der Datei ab" #H
DWORD "Verschiebungen ab" #H
DWORD "Zeilennummern ab" #H
WORD "Verschiebungen"
WORD "Zeilennummern"
DWORD "Merkmale" #H8
UP
RETURN
