; SPDX-License-Identifier: GPL-3.0-or-later
; ZIP-Archive: lokale Dateiköpfe, zentrales Verzeichnis, Endsatz, auch im ZIP64-Format.
; Die Größen der Einträge stammen aus dem zentralen Verzeichnis, das der Endsatz am Ende
; der Datei findet: so auch bei Archiven, die in einen Strom geschrieben wurden und deren
; lokale Köpfe keine Größen tragen (Flag 8, Datendeskriptor nach den Daten).
MODUL "ZIP"
BLOCK "ZIP"
CALL datei
EXIT

:datei CALL endsatz
IF ende < 0 GOTO ohneverzeichnis
; Durchgang 1: die lokalen Köpfe in der Reihenfolge des Verzeichnisses
MOV zdbekannt 1
SEEK vzab #A
LOOP anzahl vorlauf #G
; Durchgang 2: das Verzeichnis selbst
MOV abbruch 0
SEEK vzab #A
LOOP anzahl zentral #G
IF z64ende < 0 GOTO nurende
SEEK z64ende #A
CALL ende64
SEEK z64zeiger #A
CALL zeiger64
:nurende SEEK ende #A
CALL endsatzzeigen
RETURN

; ohne Endsatz (abgeschnittenes Archiv): die lokalen Köpfe der Reihe nach
:ohneverzeichnis MOV zdbekannt 0
SEEK 0 #A
:weiter LEN "Rest" #N
IF weiter < 30 RETURN
IF abbruch != 0 RETURN
:kennung DWORD #N
SEEK -4
IF kennung != 0x04034B50 RETURN
CALL lokal
GOTO weiter

; ---- den Endsatz finden: am Ende, oder mit Kommentar in den letzten 64 KiB ----
:endsatz MOV ende -1
MOV z64ende -1
:gesamt LEN #N
MOV LOCAL_1 gesamt
SUB LOCAL_1 22
IF LOCAL_1 < 0 RETURN
SEEK LOCAL_1 #A
IF amende GOTO UNTIL 50 4B 05 06 +0
SUB LOCAL_1 65535
IF LOCAL_1 >= 0 GOTO suchab
MOV LOCAL_1 0
:suchab SEEK LOCAL_1 #A
; der letzte Treffer zählt: ein Kommentar kann die Kennung enthalten
:suche BYTE #N 65558 UNTIL 50 4B 05 06 +0
IF treffer GOTO UNTIL 50 4B 05 06 +0
IF ende < 0 RETURN
GOTO endsatzlesen
:treffer OFFSET #N
MOV ende treffer
SEEK 1
GOTO suche
:amende OFFSET #N
MOV ende amende
:endsatzlesen SEEK ende #A
SEEK 10
:e_anzahl WORD #N
:e_groesse DWORD #N
:e_ab DWORD #N
MOV anzahl e_anzahl
MOV vzab e_ab
; ZIP64: der Zeiger steht 20 Bytes vor dem Endsatz
IF e_anzahl == 0xFFFF GOTO such64
IF e_ab != -1 RETURN
:such64 MOV LOCAL_1 ende
SUB LOCAL_1 20
IF LOCAL_1 < 0 RETURN
SEEK LOCAL_1 #A
:z_kennung DWORD #N
IF z_kennung != 0x07064B50 RETURN
MOV z64zeiger LOCAL_1
SEEK 4
:z_ab QWORD #N
SEEK z_ab #A
:e64_kennung DWORD #N
IF e64_kennung != 0x06064B50 RETURN
MOV z64ende z_ab
SEEK 28
:e64_anzahl QWORD #N
SEEK 8
:e64_ab QWORD #N
MOV anzahl e64_anzahl
MOV vzab e64_ab
RETURN

; ---- Durchgang 1: ein Eintrag des Verzeichnisses führt zu seinem lokalen Kopf ----
:vorlauf IF abbruch != 0 RETURN
:c_kennung DWORD #N
IF c_kennung != 0x02014B50 GOTO vorlaufende
SEEK 16
:c_gepackt DWORD #N
:c_groesse DWORD #N
:c_namelen WORD #N
:c_extralen WORD #N
:c_kommentar WORD #N
SEEK 8
:c_ab DWORD #N
SEEK c_namelen
:c_extra OFFSET #N
MOV z64 0
MOV xrest c_extralen
CALL z64werte
SEEK c_extra #MA
SEEK c_extralen
SEEK c_kommentar
:c_weiter OFFSET #N
MOV gepacktzd c_gepackt
SEEK c_ab #A
CALL lokal
SEEK c_weiter #MA
RETURN
:vorlaufende MOV abbruch 1
RETURN

; die 64-Bit-Werte des ZIP64-Zusatzfelds, nur für die Felder, die 0xFFFFFFFF tragen
:z64werte IF xrest < 4 RETURN
:x_id WORD #N
:x_len WORD #N
SUB xrest 4
MOV LOCAL_2 xrest
SUB LOCAL_2 x_len
IF LOCAL_2 < 0 RETURN
IF x_id == 1 GOTO z64gefunden
SEEK x_len
MOV xrest LOCAL_2
GOTO z64werte
:z64gefunden MOV z64 1
IF c_groesse != -1 GOTO z64c
:x_groesse QWORD #N
:z64c IF c_gepackt != -1 GOTO z64o
:x_gepackt QWORD #N
MOV c_gepackt x_gepackt
:z64o IF c_ab != -1 RETURN
:x_ab QWORD #N
MOV c_ab x_ab
RETURN

; ---- ein lokaler Dateikopf mit seinen Daten ----
:lokal TEXT "Lokaler Dateikopf"
DOWN
DWORD "Kennung" #H8
WORD "Version"
:l_flags WORD "Flags" #H4
WORD "Methode" #"0:gespeichert:8:deflate:9:deflate64:12:bzip2:14:LZMA:93:Zstandard:95:XZ:99:AES"
WORD "Zeit" #H4
WORD "Datum" #H4
DWORD "CRC-32" #H8
:l_gepackt DWORD "Gepackte Größe" #U
:l_groesse DWORD "Größe" #U
:namelen WORD "Namenslänge"
:extralen WORD "Extralänge"
STRING "Name" namelen #>lokal
MOV xlaenge extralen
CALL extras
MOV LOCAL_2 l_flags
AND LOCAL_2 8
IF zdbekannt != 0 GOTO datenzeigen
MOV gepacktzd l_gepackt
IF l_gepackt != -1 GOTO ohne64
; das ZIP64-Zusatzfeld des lokalen Kopfs hält Größe und gepackte Größe: diese zuletzt
MOV z64 1
MOV gepacktzd x64wert
:ohne64 IF LOCAL_2 == 0 GOTO datenzeigen
IF gepacktzd != 0 GOTO datenzeigen
TEXT "Größe erst im Datendeskriptor: Auswertung beendet"
MOV abbruch 1
UP
RETURN
:datenzeigen IF gepacktzd < 0 GOTO lkaputt
:daten TEXT "Gepackte Daten"
SPRINT gepacktzd daten #R
SEEK gepacktzd
IF LOCAL_2 != 0 CALL deskriptor
UP
RETURN
:lkaputt TEXT "Ungültige Länge: Auswertung beendet"
MOV abbruch 1
UP
RETURN

:deskriptor TEXT "Datendeskriptor"
DOWN
:d_kennung DWORD #N
SEEK -4
IF d_kennung != 0x08074B50 GOTO dohne
DWORD "Kennung" #H8
:dohne DWORD "CRC-32" #H8
IF z64 != 0 GOTO d64
DWORD "Gepackte Größe" #U
DWORD "Größe" #U
UP
RETURN
:d64 QWORD "Gepackte Größe" #U
QWORD "Größe" #U
UP
RETURN

; ---- die Zusatzfelder eines Kopfs: xlaenge Bytes ----
:extras IF xlaenge < 4 GOTO xende
:xfeld TEXT "Zusatzfeld"
DOWN
:xk WORD "Kennung" #H4>xfeld"1:ZIP64:10:NTFS:13:Unix:21589:Zeitstempel:25461:AES:28789:Unicode-Pfad:30805:Unix UID/GID:30837:Unix UID/GID"
:xl WORD "Länge"
:xanfang OFFSET #N
SUB xlaenge 4
MOV LOCAL_2 xlaenge
SUB LOCAL_2 xl
IF LOCAL_2 < 0 GOTO xkaputt
MOV xlaenge LOCAL_2
IF xk != 1 GOTO xdaten
MOV LOCAL_2 xl
DIV LOCAL_2 8
LOOP LOCAL_2 x64wert #G
GOTO xweiter
:xdaten BYTE "Daten" xl #H2
:xweiter SEEK xanfang #MA
SEEK xl
UP
GOTO extras
:xkaputt TEXT "Ungültige Länge: Auswertung beendet"
UP
RETURN
:xende SEEK xlaenge
RETURN
:x64wert QWORD "Wert" #U
RETURN

; ---- Durchgang 2: ein Eintrag des zentralen Verzeichnisses ----
:zentral IF abbruch != 0 RETURN
:zkennung DWORD #N
SEEK -4
IF zkennung != 0x02014B50 GOTO zkaputt
:zeintrag TEXT "Zentrales Verzeichnis"
DOWN
DWORD "Kennung" #H8
WORD "Erstellt mit" #H4
WORD "Version"
WORD "Flags" #H4
WORD "Methode" #"0:gespeichert:8:deflate:9:deflate64:12:bzip2:14:LZMA:93:Zstandard:95:XZ:99:AES"
WORD "Zeit" #H4
WORD "Datum" #H4
DWORD "CRC-32" #H8
DWORD "Gepackte Größe" #U
DWORD "Größe" #U
:znamelen WORD "Namenslänge"
:zextralen WORD "Extralänge"
:kommentar WORD "Kommentarlänge"
WORD "Laufwerk"
WORD "Interne Attribute" #H4
DWORD "Externe Attribute" #H8
DWORD "Kopf ab" #H
STRING "Name" znamelen #>zeintrag
MOV xlaenge zextralen
CALL extras
STRING "Kommentar" kommentar
UP
RETURN
:zkaputt TEXT "Kein Eintrag des Verzeichnisses: Auswertung beendet"
MOV abbruch 1
RETURN

; ---- die Endsätze ----
:ende64 TEXT "ZIP64-Endsatz"
DOWN
DWORD "Kennung" #H8
QWORD "Satzgröße" #U
WORD "Erstellt mit" #H4
WORD "Version"
DWORD "Laufwerk"
DWORD "Laufwerk des Verzeichnisses"
QWORD "Einträge hier" #U
QWORD "Einträge" #U
QWORD "Verzeichnisgröße" #U
QWORD "Verzeichnis ab" #H
UP
RETURN

:zeiger64 TEXT "ZIP64-Endsatzzeiger"
DOWN
DWORD "Kennung" #H8
DWORD "Laufwerk des Endsatzes"
QWORD "Endsatz ab" #H
DWORD "Laufwerke"
UP
RETURN

:endsatzzeigen TEXT "Endsatz"
DOWN
DWORD "Kennung" #H8
WORD "Laufwerk"
WORD "Laufwerk des Verzeichnisses"
WORD "Einträge hier"
WORD "Einträge"
DWORD "Verzeichnisgröße" #U
DWORD "Verzeichnis ab" #H
:ekommentar WORD "Kommentarlänge"
STRING "Kommentar" ekommentar
UP
RETURN

; Werte
:ende MOV ende 0
:z64ende MOV z64ende 0
:z64zeiger MOV z64zeiger 0
:anzahl MOV anzahl 0
:vzab MOV vzab 0
:zdbekannt MOV zdbekannt 0
:abbruch MOV abbruch 0
:gepacktzd MOV gepacktzd 0
:z64 MOV z64 0
:xrest MOV xrest 0
:xlaenge MOV xlaenge 0
