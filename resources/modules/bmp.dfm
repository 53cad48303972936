; SPDX-License-Identifier: GPL-3.0-or-later
; BMP-Dateien: Dateikopf, Infokopf, Farbtabelle
MODUL "BMP"
BLOCK "Bitmap"
; im Aufruf zählen die Positionen vom Anfang der Datei an, wo immer sie im Puffer liegt
CALL datei
EXIT

:datei TEXT "Dateikopf"
DOWN
WORD "Kennung" #HX"19778:BM"
DWORD "Dateigröße" #U
WORD "Reserviert 1"
WORD "Reserviert 2"
:daten DWORD "Bilddaten ab" #H
UP
TEXT "Infokopf"
DOWN
:kopf DWORD "Kopfgröße" #U
DWORD "Breite" #F
DWORD "Höhe" #F
WORD "Ebenen"
:bpp WORD "Bits pro Pixel"
DWORD "Kompression" #"0:BI_RGB:1:BI_RLE8:2:BI_RLE4:3:BI_BITFIELDS:4:BI_JPEG:5:BI_PNG:6:BI_ALPHABITFIELDS"
DWORD "Bildgröße" #U
DWORD "Pixel pro Meter X" #F
DWORD "Pixel pro Meter Y" #F
:farben DWORD "Benutzte Farben" #U
DWORD "Wichtige Farben" #U
UP
; die Farbtabelle folgt dem Infokopf, dessen Größe im Kopf steht
SEEK kopf 14 #A
IF bpp > 8 RETURN
IF farben != 0 GOTO tabelle
BIN farben bpp
:tabelle TEXT "Farbtabelle"
DOWN
MOV LOCAL_0 0
LOOP farben farbe #G
UP
RETURN

; Blau, Grün, Rot und ein reserviertes Byte: als 0xRRGGBB gezeigt
:farbe RWORD "Farbe" LOCAL_0 #IH6
SEEK 1
ADD LOCAL_0 1
RETURN
