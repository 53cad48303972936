; SPDX-License-Identifier: GPL-3.0-or-later
; tar-Archive (ustar, GNU, pax): der 512 Byte lange Kopf jedes Eintrags, seine Daten auf
; 512 Bytes aufgefüllt, bis zu den Nullblöcken am Ende. Zahlen stehen oktal als Text.
MODUL "tar"
BLOCK "tar"
CALL datei
EXIT

:datei MOV LOCAL_0 1
:kopf LEN "Rest" #N
IF kopf < 512 RETURN
:erstes BYTE #N
SEEK -1
IF erstes == 0 GOTO nullblock
:anfang OFFSET #N
:eintrag PRINT LOCAL_0 "Eintrag" #I
DOWN
STRING "Name" 100 #>eintrag
STRING "Modus" 8
STRING "Benutzer-ID" 8
STRING "Gruppen-ID" 8
:groesse STRING "Größe" 12
STRING "Änderungszeit" 12
STRING "Prüfsumme" 8
:typ BYTE "Typ" #C"48:Datei:0:Datei:49:harter Verweis:50:symbolischer Verweis:51:Zeichengerät:52:Blockgerät:53:Ordner:54:FIFO:55:zusammenhängende Datei:103:globaler Pax-Kopf:120:Pax-Kopf:76:GNU langer Name:75:GNU langes Verweisziel:68:GNU Ordnerliste:77:GNU Fortsetzung:83:GNU dünn besetzte Datei:86:GNU Datenträgername"
STRING "Verweisziel" 100
STRING "Kennung" 6
STRING "Version" 2
STRING "Benutzer" 32
STRING "Gruppe" 32
STRING "Gerät (Haupt)" 8
STRING "Gerät (Neben)" 8
STRING "Präfix" 155
; die Größe: oktale Ziffern, als Blöcke zu 512 Bytes und Rest
SEEK groesse #MA
:binaer BYTE #N
IF binaer >= 128 GOTO zugross
SEEK -1
MOV bloecke 0
MOV rest 0
LOOP 12 ziffer #G
MOV bytes bloecke
MUL bytes 512
ADD bytes rest
PRINT bytes "Größe in Bytes" #U
SEEK anfang #MA
SEEK 512
IF bytes == 0 GOTO weiter
; lange Namen und Pax-Einträge sind Text, sonst nur der Bereich der Daten
IF typ == 76 GOTO text
IF typ == 75 GOTO text
IF typ == 120 GOTO text
IF typ == 103 GOTO text
:daten TEXT "Daten"
SPRINT bytes daten #R
GOTO ueberspringen
:text STRING "Inhalt" bytes
SEEK anfang #MA
SEEK 512
:ueberspringen IF rest == 0 GOTO ganze
ADD bloecke 1
:ganze MOV LOCAL_1 bloecke
CALL vorruecken #G
:weiter UP
ADD LOCAL_0 1
GOTO kopf

:zugross TEXT "Größe binär (über 8 GiB): Auswertung beendet"
UP
RETURN
:nullblock TEXT "Ende des Archivs"
RETURN

; eine Stelle der Größe: bloecke := bloecke * 8 + Übertrag, rest := (rest * 8 + Ziffer) mod 512
:ziffer
:z BYTE #N
IF z < 48 RETURN
IF z > 55 RETURN
SUB z 48
MUL bloecke 8
MUL rest 8
ADD rest z
MOV LOCAL_2 rest
DIV LOCAL_2 512
ADD bloecke LOCAL_2
AND rest 511
RETURN

; LOCAL_1 Blöcke zu 512 Bytes weiter: 8 mal 64
:vorruecken SEEK LOCAL_1 #64
SEEK LOCAL_1 #64
SEEK LOCAL_1 #64
SEEK LOCAL_1 #64
SEEK LOCAL_1 #64
SEEK LOCAL_1 #64
SEEK LOCAL_1 #64
SEEK LOCAL_1 #64
RETURN

; Werte
:bloecke MOV bloecke 0
:rest MOV rest 0
:bytes MOV bytes 0
