// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/CrcCatalog.h"

namespace qv {

namespace {

constexpr CrcCatalogEntry kCatalog[kCrcCatalogSize] = {
    {"Frei definiert", 0, 0},
    {"CRC-CCITT (CRC-4)", 4, 0xC},
    {"USB (CRC-5)", 5, 0x14},
    {"Bluetooth", 5, 0x15},
    {"SD/MMC-Card (CRC-7)", 7, 0x48},
    {"CRC-8 (Dallas/Maxim 1-Wire Bus)", 8, 0x8C},
    {"CRC-8 (ITU-T)", 8, 0xE0},
    {"CRC-8 (SAE-J1850)", 8, 0xB8},
    {"CRC-12", 12, 0xF01},
    {"CAN-CRC", 15, 0x4CD1},
    {"CRC-CCITT (CRC-16)", 16, 0x8408},
    {"IBM-CRC-16", 16, 0xA001},
    {"XModem-CRC-16", 16, 0x1021},
    {"CRC-DNP (CRC-16)", 16, 0xA6BC},
    {"CRC-16 VÖV 04.05.1", 16, 0xC6F6},
    {"CRC-24 (IETF RFC2440)", 24, 0xDF3261},
    {"CRC-32 (IEEE 802.3)", 32, 0xEDB88320},
    {"CRC-64 (ISO 3309)", 64, 0xD800000000000000ull},
    {"CRC-64 (ECMA-182)", 64, 0xC96C5795D7870F42ull},
};

}  // namespace

const CrcCatalogEntry& CrcCatalogAt(size_t index)
{
    return kCatalog[index < kCrcCatalogSize ? index : 0];
}

size_t FindCrcCatalogEntry(uint32_t width, uint64_t reflected)
{
    for (size_t index = kCrcCatalogSize - 1; index > 0; --index)
        if (kCatalog[index].width == width && kCatalog[index].reflected == reflected) return index;
    return 0;
}

}  // namespace qv
