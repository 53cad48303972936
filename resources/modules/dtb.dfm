; SPDX-License-Identifier: GPL-3.0-or-later
; Devicetree-Blobs (FDT): der Kopf, die Speicherreservierungen und der Strukturblock mit
; seinen Knoten und Eigenschaften; die Namen der Eigenschaften stehen im Zeichenkettenblock.
; Zahlen stehen mit dem höchsten Byte vorn (#M).
MODUL "Devicetree"
BLOCK "Devicetree"
CALL datei
EXIT

:datei TEXT "FDT-Kopf"
DOWN
DWORD "Magie" #MH8"0xD00DFEED:FDT"
DWORD "Gesamtgröße" #MU
DWORD "Struktur ab" #MH
CALL be32 #G
MOV struktur LOCAL_3
DWORD "Zeichenketten ab" #MH
CALL be32 #G
MOV zeichen LOCAL_3
DWORD "Reservierungen ab" #MH
CALL be32 #G
MOV reserv LOCAL_3
DWORD "Version" #MU
DWORD "Kompatibel ab Version" #MU
DWORD "Boot-CPU" #MU
DWORD "Größe der Zeichenketten" #MU
DWORD "Größe der Struktur" #MU
UP

; Speicherreservierungen: Paare aus Adresse und Größe, bis beide null sind
SEEK reserv #A
TEXT "Speicherreservierungen"
DOWN
:reservierung LEN "Rest" #N
IF reservierung < 16 GOTO reservende
:r1 DWORD #N
:r2 DWORD #N
:r3 DWORD #N
:r4 DWORD #N
SEEK -16
IF r1 != 0 GOTO eine
IF r2 != 0 GOTO eine
IF r3 != 0 GOTO eine
IF r4 != 0 GOTO eine
TEXT "Ende der Liste"
GOTO reservende
:eine TEXT "Reservierung"
DOWN
QWORD "Adresse" #MH
QWORD "Größe" #MH
UP
GOTO reservierung
:reservende UP

; der Strukturblock: Token für Knotenanfang, -ende, Eigenschaft, Leerstelle und Ende
SEEK struktur #A
TEXT "Struktur"
DOWN
:token LEN "Rest" #N
IF token < 4 GOTO ende
DWORD #N
CALL be32 #G
IF LOCAL_3 == 1 GOTO knoten
IF LOCAL_3 == 2 GOTO knotenende
IF LOCAL_3 == 3 GOTO eigenschaft
IF LOCAL_3 == 4 GOTO token
IF LOCAL_3 == 9 GOTO ende
SEEK -4
DWORD "Unbekanntes Token: Auswertung beendet" #MH8
:ende UP
RETURN

:knoten SEEK -4
:knotenzeile TEXT "Knoten"
DOWN
DWORD "Token" #MH8
STRING "Name" #>knotenzeile
SEEK 4 #RN
GOTO token

:knotenende SEEK -4
DWORD "Knotenende" #MH8
UP
GOTO token

:eigenschaft SEEK -4
:eigenschaftzeile TEXT "Eigenschaft"
DOWN
DWORD "Token" #MH8
DWORD "Länge" #MU
CALL be32 #G
MOV laenge LOCAL_3
DWORD "Name ab" #MU
CALL be32 #G
:wert OFFSET #N
; der Name aus dem Zeichenkettenblock
MOV LOCAL_1 zeichen
ADD LOCAL_1 LOCAL_3
SEEK LOCAL_1 #A
STRING "Name" #N>eigenschaftzeile
SEEK wert #MA
IF laenge < 0 GOTO kaputt
IF laenge == 0 GOTO leer
BYTE "Wert" laenge #H2
; Text, wenn er mit einem druckbaren Zeichen beginnt und mit einem Nullbyte endet
SEEK wert #MA
:erstes BYTE #N
SEEK -1
SEEK laenge
SEEK -1
:letztes BYTE #N
IF letztes != 0 GOTO zellen
IF erstes < 32 GOTO zellen
IF erstes > 126 GOTO zellen
SEEK wert #MA
STRING_K "Als Text" laenge
GOTO ausrichten
; sonst, wenn die Länge passt, als 32-Bit-Zellen
:zellen MOV LOCAL_1 laenge
AND LOCAL_1 3
IF LOCAL_1 != 0 GOTO ausrichten
MOV LOCAL_1 laenge
DIV LOCAL_1 4
SEEK wert #MA
DWORD "Als Zellen" LOCAL_1 #MH8
:ausrichten SEEK wert #MA
SEEK laenge
:leer SEEK 4 #RN
UP
GOTO token
:kaputt TEXT "Ungültige Länge: Auswertung beendet"
UP
UP
RETURN

; Werte
:struktur MOV struktur 0
:zeichen MOV zeichen 0
:reserv MOV reserv 0
:laenge MOV laenge 0

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
