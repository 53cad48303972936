; SPDX-License-Identifier: GPL-3.0-or-later
; PNG-Dateien: Signatur, Chunks mit Länge, Typ und CRC, die Felder von IHDR.
; Zahlen stehen in PNG mit dem höchsten Byte vorn (#M).
MODUL "PNG"
BLOCK "PNG"
CALL datei
EXIT

:datei BYTE "Signatur" 8 #H2
:chunk LEN "Rest" #N
IF chunk < 12 RETURN
:kopf TEXT "Chunk"
DOWN
DWORD "Länge" #MU
CALL be32 #G
MOV LOCAL_0 LOCAL_3
; eine Länge ab 2^31 liefe rückwärts: beschädigte Datei
IF LOCAL_0 < 0 GOTO kaputt
:typ DWORD "Typ" #N
SEEK -4
STRING "Typ" 4 #>kopf
IF typ != 0x52444849 GOTO daten
DWORD "Breite" #MU
DWORD "Höhe" #MU
BYTE "Bittiefe"
BYTE "Farbtyp" #"0:Graustufen:2:RGB:3:Palette:4:Graustufen mit Alpha:6:RGBA"
BYTE "Kompression"
BYTE "Filter"
BYTE "Interlace" #"0:keiner:1:Adam7"
SUB LOCAL_0 13
:daten SEEK LOCAL_0
DWORD "CRC" #MH8
UP
IF typ == 0x444E4549 RETURN
GOTO chunk

:kaputt TEXT "Ungültige Länge: Auswertung beendet"
UP
RETURN

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
