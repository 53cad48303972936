// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A structure module for BMP files (file header, info header, colour table, pixel rows)
// and a small bitmap writer for tests.
#include <cstdint>
#include <cstring>
#include <vector>

namespace qv::test {

inline constexpr const char* kBmpModule = R"(; BMP-Dateien
MODUL "BMP"
BLOCK "Bitmap"
TEXT "Dateikopf"
DOWN
WORD "Kennung" #HX"19778:BM"
DWORD "Dateigröße"
WORD "Reserviert 1"
WORD "Reserviert 2"
:daten DWORD "Bilddaten ab" #H
UP
TEXT "Infokopf"
DOWN
DWORD "Kopfgröße"
:breite DWORD "Breite"
:hoehe DWORD "Höhe"
WORD "Ebenen"
:bpp WORD "Bits pro Pixel"
DWORD "Kompression" #"0:BI_RGB:1:BI_RLE8:2:BI_RLE4:3:BI_BITFIELDS"
DWORD "Bildgröße"
DWORD "Pixel pro Meter X"
DWORD "Pixel pro Meter Y"
:farben DWORD "Benutzte Farben"
DWORD "Wichtige Farben"
UP
IF bpp > 8 GOTO pixel
IF farben != 0 GOTO tabelle
BIN farben bpp              ; 2 hoch Bits pro Pixel
:tabelle TEXT "Farbtabelle"
DOWN
MOV LOCAL_0 0
LOOP farben farbe #G
UP
:pixel SEEK daten #A
TEXT "Bildzeilen"
DOWN
MOV LOCAL_1 breite          ; Bytes je Zeile: (Breite * Bits + 31) / 32 * 4
MUL LOCAL_1 bpp
ADD LOCAL_1 31
DIV LOCAL_1 32
MUL LOCAL_1 4
LOOP hoehe zeile
EXIT

:farbe DWORD "Farbe" LOCAL_0 #IH6
ADD LOCAL_0 1
RETURN

:zeile BYTE "Zeile" LOCAL_1 #H2
RETURN
)";

inline void PutLittleEndian(std::vector<uint8_t>& bytes, uint32_t value, int size)
{
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

inline std::vector<uint8_t> MakeBitmap(uint32_t width, uint32_t height, uint16_t bitsPerPixel,
                                       const std::vector<uint32_t>& palette, const std::vector<uint8_t>& pixels)
{
    uint32_t dataStart = 14 + 40 + 4 * static_cast<uint32_t>(palette.size());
    std::vector<uint8_t> bmp{'B', 'M'};
    PutLittleEndian(bmp, dataStart + static_cast<uint32_t>(pixels.size()), 4);
    PutLittleEndian(bmp, 0, 4);
    PutLittleEndian(bmp, dataStart, 4);
    PutLittleEndian(bmp, 40, 4);
    PutLittleEndian(bmp, width, 4);
    PutLittleEndian(bmp, height, 4);
    PutLittleEndian(bmp, 1, 2);
    PutLittleEndian(bmp, bitsPerPixel, 2);
    PutLittleEndian(bmp, 0, 4);
    PutLittleEndian(bmp, static_cast<uint32_t>(pixels.size()), 4);
    PutLittleEndian(bmp, 2835, 4);
    PutLittleEndian(bmp, 2835, 4);
    PutLittleEndian(bmp, 0, 4);
    PutLittleEndian(bmp, 0, 4);
    for (uint32_t colour : palette) PutLittleEndian(bmp, colour, 4);
    bmp.insert(bmp.end(), pixels.begin(), pixels.end());
    return bmp;
}

}  // namespace qv::test
