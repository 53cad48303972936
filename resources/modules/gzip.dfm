; SPDX-License-Identifier: GPL-3.0-or-later
; gzip-Dateien: jedes Mitglied mit Kopf, Flags, Zusatzfeld, Namen und Kommentar, den
; komprimierten Daten und dem Nachspann mit CRC-32 und Originalgröße. Wo ein Mitglied endet,
; steht nirgends: das nächste beginnt dort, wo wieder ein gzip-Kopf steht (Kennung, Methode 8,
; reservierte Flags null, gültige Extra-Flags), sonst endet es mit der Datei.
MODUL "gzip"
BLOCK "gzip"
CALL datei
EXIT

:datei MOV LOCAL_0 1
:mitglied LEN "Rest" #N
IF mitglied < 18 GOTO nachspann
:kennung WORD #N
SEEK -2
IF kennung != 0x8B1F GOTO fremd
:kopf PRINT LOCAL_0 "Mitglied" #I
DOWN
WORD "Kennung" #H4"35615:gzip"
BYTE "Methode" #"8:deflate"
BYTE "Flags" #H2
SEEK -1
DOWN
BIT "Text" 1 #"0:nein:1:ja"
:fhcrc BIT "Kopf-CRC" 1 #"0:nein:1:ja"
:fextra BIT "Zusatzfeld" 1 #"0:nein:1:ja"
:fname BIT "Dateiname" 1 #"0:nein:1:ja"
:fcomment BIT "Kommentar" 1 #"0:nein:1:ja"
BIT "Reserviert" 3
UP
DWORD "Änderungszeit (Unix-Zeit)" #U
BYTE "Extra-Flags" #"0:keine:2:beste Kompression:4:schnellste Kompression"
BYTE "Betriebssystem" #"0:FAT:1:Amiga:2:VMS:3:Unix:4:VM/CMS:5:Atari TOS:6:HPFS:7:Macintosh:8:Z-System:9:CP/M:10:TOPS-20:11:NTFS:12:QDOS:13:Acorn RISCOS:255:unbekannt"
IF fextra == 0 GOTO ohneextra
:xlen WORD "Zusatzlänge"
BYTE "Zusatzfeld" xlen #H2
:ohneextra IF fname == 0 GOTO ohnename
STRING "Dateiname" #>kopf
:ohnename IF fcomment == 0 GOTO ohnekommentar
STRING "Kommentar"
:ohnekommentar IF fhcrc == 0 GOTO daten
WORD "Kopf-CRC16" #H4
:daten OFFSET #N
:komprimiert TEXT "Komprimierte Daten"
:suche BYTE #N 0x7FFFFFFF UNTIL 1F 8B 08 ~000????? ? ? ? ? ~00000??0 +0
:ende OFFSET #N
MOV laenge ende
SUB laenge daten
SUB laenge 8
IF laenge < 0 GOTO kaputt
SPRINT laenge komprimiert #R
SEEK daten #MA
SEEK laenge
DWORD "CRC-32" #H8
DWORD "Originalgröße (mod 2^32)" #U
UP
ADD LOCAL_0 1
GOTO mitglied

:kaputt TEXT "Kein Platz für den Nachspann: Auswertung beendet"
UP
RETURN
:fremd
:rest TEXT "Daten ohne gzip-Kennung"
SPRINT mitglied rest #R
RETURN
:nachspann IF mitglied <= 0 RETURN
:kurz TEXT "Zu wenige Bytes für ein Mitglied"
SPRINT mitglied kurz #R
RETURN

; Werte
:laenge MOV laenge 0
