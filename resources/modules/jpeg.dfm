; SPDX-License-Identifier: GPL-3.0-or-later
; JPEG-Dateien: die Segmente mit Marker und Länge, JFIF (APP0), Exif (APP1) mit den Einträgen
; des ersten IFD in beiden Byte-Reihenfolgen, Bildgröße (SOF), Scankopf (SOS) mit den
; Bilddaten bis zum nächsten Marker, und Kommentare. Zahlen stehen mit dem höchsten Byte vorn.
MODUL "JPEG"
BLOCK "JPEG"
CALL datei
EXIT

:datei WORD "Bildanfang (SOI)" #MH4
:segment LEN "Rest" #N
IF segment < 2 RETURN
:ff BYTE #N
IF ff != 255 GOTO keinmarker
:marker BYTE #N
; Füllbytes 0xFF vor einem Marker
IF marker == 255 GOTO fuellbyte
SEEK -2
:kopf WORD "Segment" #MH4"0xFFC0:SOF0 Baseline:0xFFC1:SOF1 erweitert:0xFFC2:SOF2 progressiv:0xFFC3:SOF3 verlustfrei:0xFFC4:DHT Huffman-Tabelle:0xFFC5:SOF5:0xFFC6:SOF6:0xFFC7:SOF7:0xFFC9:SOF9 arithmetisch:0xFFCA:SOF10:0xFFCB:SOF11:0xFFCC:DAC:0xFFCD:SOF13:0xFFCE:SOF14:0xFFCF:SOF15:0xFFD0:RST0:0xFFD1:RST1:0xFFD2:RST2:0xFFD3:RST3:0xFFD4:RST4:0xFFD5:RST5:0xFFD6:RST6:0xFFD7:RST7:0xFFD9:EOI Bildende:0xFFDA:SOS Scananfang:0xFFDB:DQT Quantisierungstabelle:0xFFDC:DNL:0xFFDD:DRI Neustartintervall:0xFFE0:APP0:0xFFE1:APP1:0xFFE2:APP2:0xFFE3:APP3:0xFFE4:APP4:0xFFE5:APP5:0xFFE6:APP6:0xFFE7:APP7:0xFFE8:APP8:0xFFE9:APP9:0xFFEA:APP10:0xFFEB:APP11:0xFFEC:APP12:0xFFED:APP13:0xFFEE:APP14:0xFFEF:APP15:0xFFFE:COM Kommentar"
IF marker == 217 RETURN
; Marker ohne Länge: RST0 bis RST7 und TEM
IF marker == 1 GOTO segment
MOV LOCAL_1 marker
SUB LOCAL_1 208
IF LOCAL_1 < 0 GOTO mitlaenge
IF LOCAL_1 <= 7 GOTO segment
:mitlaenge DOWN
:laenge WORD "Länge" #MU
CALL be16 #G
MOV seglaenge LOCAL_3
IF seglaenge < 2 GOTO kaputt
:inhalt OFFSET #N
; ein abgeschnittenes Segment: nichts dahinter gehört noch zur Datei
:imsegment LEN #N
MOV LOCAL_2 imsegment
SUB LOCAL_2 seglaenge
IF LOCAL_2 < -2 GOTO abgeschnitten
IF marker == 224 CALL app0
IF marker == 225 CALL app1
IF marker == 254 CALL kommentar
IF marker == 218 CALL scankopf
MOV LOCAL_1 marker
SUB LOCAL_1 192
IF LOCAL_1 < 0 GOTO ende
IF LOCAL_1 > 15 GOTO ende
; SOF0 bis SOF15, außer DHT (C4), JPG (C8) und DAC (CC)
IF LOCAL_1 == 4 GOTO ende
IF LOCAL_1 == 8 GOTO ende
IF LOCAL_1 == 12 GOTO ende
CALL bildkopf
:ende SEEK inhalt #MA
SEEK seglaenge
SEEK -2
UP
IF marker == 218 GOTO bilddaten
GOTO segment
:fuellbyte SEEK -1
GOTO segment
:keinmarker SEEK -1
:fremd TEXT "Kein Marker: Auswertung beendet"
RETURN
:kaputt TEXT "Ungültige Länge: Auswertung beendet"
UP
RETURN
:abgeschnitten TEXT "Segment reicht über das Dateiende: Auswertung beendet"
UP
RETURN

; die Bilddaten nach dem Scankopf: bis zu einem 0xFF, das weder 0x00 noch RST0 bis RST7 folgt
:bilddaten
:datenab OFFSET #N
:daten TEXT "Bilddaten"
:suche BYTE #N 0x7FFFFFFF UNTIL FF +0
:naechstes BYTE #N 2
IF naechstes == 0 GOTO suche
MOV LOCAL_1 naechstes
SUB LOCAL_1 208
IF LOCAL_1 < 0 GOTO datenende
IF LOCAL_1 <= 7 GOTO suche
:datenende SEEK -2
:datenbis OFFSET #N
MOV LOCAL_1 datenbis
SUB LOCAL_1 datenab
SPRINT LOCAL_1 daten #R
GOTO segment

:app0
:kennung0 DWORD #N
SEEK -4
STRING "Kennung"
IF kennung0 != 0x4649464A RETURN
WORD "Version" #MH4
BYTE "Einheit" #"0:keine:1:Punkte je Zoll:2:Punkte je cm"
WORD "Dichte X" #MU
WORD "Dichte Y" #MU
BYTE "Vorschau Breite"
BYTE "Vorschau Höhe"
RETURN

:app1
:kennung1 DWORD #N
SEEK -4
STRING "Kennung"
IF kennung1 != 0x66697845 RETURN
; "Exif", zwei Nullbytes, dann der TIFF-Kopf: seine Offsets zählen von ihm an
SEEK 1
TEXT "TIFF"
DOWN
CALL tiff
UP
RETURN

:kommentar MOV LOCAL_1 seglaenge
SUB LOCAL_1 2
STRING "Kommentar" LOCAL_1
RETURN

:bildkopf BYTE "Genauigkeit (Bit)"
WORD "Höhe" #MU
WORD "Breite" #MU
:komponenten BYTE "Komponenten"
LOOP komponenten komponente #G
RETURN
:komponente TEXT "Komponente"
DOWN
BYTE "Kennung" #>komponente
BIT "Vertikale Abtastung" 4
BIT "Horizontale Abtastung" 4
BYTE "Quantisierungstabelle"
UP
RETURN

:scankopf
:scankomp BYTE "Komponenten"
LOOP scankomp scankomponente #G
BYTE "Spektralauswahl Anfang"
BYTE "Spektralauswahl Ende"
BYTE "Näherung" #H2
RETURN
:scankomponente TEXT "Komponente"
DOWN
BYTE "Kennung" #>scankomponente
BIT "AC-Tabelle" 4
BIT "DC-Tabelle" 4
UP
RETURN

; ---- TIFF in Exif: Kopf und erstes IFD ----
:tiff
:ordnung WORD #N
SEEK -2
STRING "Byte-Reihenfolge" 2
IF ordnung == 0x4D4D GOTO tiffbe
WORD "Kennzahl"
:ifd0 DWORD "IFD0 ab" #U
SEEK ifd0 #A
:anzahl WORD "Einträge"
LOOP anzahl eintragle #G
RETURN
:tiffbe WORD "Kennzahl" #MU
DWORD "IFD0 ab" #MU
CALL be32 #G
SEEK LOCAL_3 #A
WORD "Einträge" #MU
CALL be16 #G
MOV anzahlbe LOCAL_3
LOOP anzahlbe eintragbe #G
RETURN

:eintragle
:eintrag TEXT "Eintrag"
DOWN
WORD "Tag" #H4>eintrag"0x010E:Bildbeschreibung:0x010F:Hersteller:0x0110:Modell:0x0112:Ausrichtung:0x011A:X-Auflösung:0x011B:Y-Auflösung:0x0128:Auflösungseinheit:0x0131:Software:0x0132:Datum und Zeit:0x013B:Künstler:0x0213:YCbCr-Lage:0x8298:Copyright:0x8769:Exif-IFD:0x8825:GPS-IFD"
:typle WORD "Typ" #"1:BYTE:2:ASCII:3:SHORT:4:LONG:5:RATIONAL:7:UNDEFINED:9:SLONG:10:SRATIONAL"
:zahlle DWORD "Anzahl" #U
:wertle DWORD "Wert oder Offset" #H8
IF typle != 2 GOTO eintraglefertig
IF zahlle <= 4 GOTO eintraglefertig
:nachle OFFSET #N
SEEK wertle #A
STRING "Text" zahlle
SEEK nachle #MA
:eintraglefertig UP
RETURN

:eintragbe
:eintragm TEXT "Eintrag"
DOWN
WORD "Tag" #MH4>eintragm"0x010E:Bildbeschreibung:0x010F:Hersteller:0x0110:Modell:0x0112:Ausrichtung:0x011A:X-Auflösung:0x011B:Y-Auflösung:0x0128:Auflösungseinheit:0x0131:Software:0x0132:Datum und Zeit:0x013B:Künstler:0x0213:YCbCr-Lage:0x8298:Copyright:0x8769:Exif-IFD:0x8825:GPS-IFD"
WORD "Typ" #M"1:BYTE:2:ASCII:3:SHORT:4:LONG:5:RATIONAL:7:UNDEFINED:9:SLONG:10:SRATIONAL"
CALL be16 #G
MOV typbe LOCAL_3
DWORD "Anzahl" #MU
CALL be32 #G
MOV zahlbe LOCAL_3
DWORD "Wert oder Offset" #MH8
CALL be32 #G
IF typbe != 2 GOTO eintragbefertig
IF zahlbe <= 4 GOTO eintragbefertig
:nachbe OFFSET #N
SEEK LOCAL_3 #A
STRING "Text" zahlbe
SEEK nachbe #MA
:eintragbefertig UP
RETURN

; Werte
:seglaenge MOV seglaenge 0
:anzahlbe MOV anzahlbe 0
:typbe MOV typbe 0
:zahlbe MOV zahlbe 0

; LOCAL_3 := die Bytes vor der Position, das höchste zuerst
:be32 SEEK -4
:b3 BYTE #N
:b2 BYTE #N
MOV LOCAL_3 b3
MUL LOCAL_3 256
ADD LOCAL_3 b2
MUL LOCAL_3 65536
GOTO be16b
:be16 MOV LOCAL_3 0
SEEK -2
:be16b
:b1 BYTE #N
:b0 BYTE #N
MOV LOCAL_2 b1
MUL LOCAL_2 256
ADD LOCAL_3 LOCAL_2
ADD LOCAL_3 b0
RETURN
