; SPDX-License-Identifier: GPL-3.0-or-later
; RIFF-Dateien (WAV und andere): Kopf, Chunks mit Kennung und Länge, die Felder von "fmt ".
MODUL "RIFF"
BLOCK "RIFF"
CALL datei
EXIT

:datei TEXT "RIFF-Kopf"
DOWN
STRING "Kennung" 4
DWORD "Länge" #U
STRING "Formular" 4
UP
:chunk LEN "Rest" #N
IF chunk < 8 RETURN
:kopf TEXT "Chunk"
DOWN
:kennung DWORD #N
SEEK -4
STRING "Kennung" 4 #>kopf
:laenge DWORD "Länge" #U
MOV LOCAL_0 laenge
; eine Länge ab 2^31 liefe rückwärts: beschädigte Datei
IF LOCAL_0 < 0 GOTO kaputt
IF kennung != 0x20746D66 GOTO daten
WORD "Format" #"1:PCM:3:IEEE-Gleitkomma:6:A-Law:7:µ-Law:65534:Erweiterbar"
WORD "Kanäle"
DWORD "Abtastrate" #U
DWORD "Bytes pro Sekunde" #U
WORD "Blockgröße"
WORD "Bits pro Abtastwert"
SUB LOCAL_0 16
:daten SEEK LOCAL_0
; Chunks beginnen auf geraden Positionen
AND LOCAL_0 1
SEEK LOCAL_0
UP
GOTO chunk

:kaputt TEXT "Ungültige Länge: Auswertung beendet"
UP
RETURN
