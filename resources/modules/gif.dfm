; SPDX-License-Identifier: GPL-3.0-or-later
; GIF-Dateien: Kopf, logischer Bildschirm, globale Farbtabelle.
MODUL "GIF"
BLOCK "GIF"
CALL datei
EXIT

:datei TEXT "Kopf"
DOWN
STRING "Signatur" 3
STRING "Version" 3
UP
TEXT "Logischer Bildschirm"
DOWN
WORD "Breite"
WORD "Höhe"
:groesse BIT "Größe der Farbtabelle" 3
BIT "Sortiert" 1
BIT "Farbauflösung" 3
:tabelle BIT "Globale Farbtabelle" 1 #"0:nein:1:ja"
BYTE "Hintergrundfarbe"
BYTE "Seitenverhältnis"
UP
IF tabelle == 0 RETURN
; 2 hoch (Größe + 1) Farben zu je drei Bytes
ADD groesse 1
BIN LOCAL_1 groesse
TEXT "Globale Farbtabelle"
DOWN
MOV LOCAL_0 0
LOOP LOCAL_1 farbe #G
UP
RETURN

:farbe RWORD "Farbe" LOCAL_0 #IMH6
ADD LOCAL_0 1
RETURN
