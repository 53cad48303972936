// SPDX-License-Identifier: GPL-3.0-or-later
// A module for the header of BMP files, run over bitmaps built here.
#include <gtest/gtest.h>

#include "common/CodePage.h"
#include "tests/modules/BmpModule.h"
#include "tests/modules/ModuleTestHelpers.h"

namespace qv::test {
namespace {

struct Expected {
    const char* name;
    const char* text;
    int32_t offset;
    int32_t size;
    int32_t address;
    int32_t indent;
};

void ExpectRows(const std::vector<Row>& rows, const std::vector<Expected>& expected)
{
    ASSERT_EQ(rows.size(), expected.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        EXPECT_EQ(rows[i].name, Utf8ToCp1252(expected[i].name));
        EXPECT_EQ(rows[i].text, expected[i].text);
        EXPECT_EQ(rows[i].offset, expected[i].offset);
        EXPECT_EQ(rows[i].size, expected[i].size);
        EXPECT_EQ(rows[i].address, expected[i].address);
        EXPECT_EQ(rows[i].indent, expected[i].indent);
    }
}

TEST(BmpModule, DecodesEveryHeaderFieldThePaletteAndThePixelRows)
{
    ModuleFixture f;
    f.Compile(Utf8ToCp1252(kBmpModule), "bmp");
    ASSERT_EQ(f.sink.Text(), "");
    ASSERT_EQ(f.set.EntryPointName(0), "Bitmap");
    std::vector<uint8_t> bmp = MakeBitmap(2, 2, 1, {0x000000, 0xFFFFFF}, {0x80, 0, 0, 0, 0x40, 0, 0, 0});
    ExpectRows(f.Run(bmp), {
                               {"Dateikopf", "", 0, 0, 0, 0},
                               {"Kennung", "4D42h BM", 0, 2, 0, 1},
                               {"Dateigröße", "70 ", 2, 4, 2, 1},
                               {"Reserviert 1", "0 ", 6, 2, 6, 1},
                               {"Reserviert 2", "0 ", 8, 2, 8, 1},
                               {"Bilddaten ab", "0x3E ", 10, 4, 10, 1},
                               {"Infokopf", "", 14, 0, 14, 0},
                               {"Kopfgröße", "40 ", 14, 4, 14, 1},
                               {"Breite", "2 ", 18, 4, 18, 1},
                               {"Höhe", "2 ", 22, 4, 22, 1},
                               {"Ebenen", "1 ", 26, 2, 26, 1},
                               {"Bits pro Pixel", "1 ", 28, 2, 28, 1},
                               {"Kompression", "BI_RGB", 30, 4, 30, 1},
                               {"Bildgröße", "8 ", 34, 4, 34, 1},
                               {"Pixel pro Meter X", "2835 ", 38, 4, 38, 1},
                               {"Pixel pro Meter Y", "2835 ", 42, 4, 42, 1},
                               {"Benutzte Farben", "0 ", 46, 4, 46, 1},
                               {"Wichtige Farben", "0 ", 50, 4, 50, 1},
                               {"Farbtabelle", "", 54, 0, 54, 0},
                               {"Farbe[0]", "0x000000 ", 54, 4, 54, 1},
                               {"Farbe[1]", "0xFFFFFF ", 58, 4, 58, 1},
                               {"Bildzeilen", "", 62, 0, 62, 0},
                               {"Zeile", "0x80 0x00 0x00 0x00 ", 0, 4, 62, 1},
                               {"Zeile", "0x40 0x00 0x00 0x00 ", 0, 4, 66, 1},
                           });
}

TEST(BmpModule, TrueColourBitmapHasNoPaletteAndWiderRows)
{
    ModuleFixture f;
    f.Compile(Utf8ToCp1252(kBmpModule), "bmp");
    std::vector<uint8_t> bmp = MakeBitmap(2, 1, 24, {}, {1, 2, 3, 4, 5, 6, 0, 0});
    auto rows = f.Run(bmp);
    ASSERT_EQ(rows.size(), 20u);
    EXPECT_EQ(rows[5].text, "0x36 ");
    EXPECT_EQ(rows[11].text, "24 ");
    EXPECT_EQ(rows[18].name, "Bildzeilen");
    EXPECT_EQ(rows[19].text, "0x01 0x02 0x03 0x04 0x05 0x06 0x00 0x00 ");
    EXPECT_EQ(rows[19].address, 54);
}

TEST(BmpModule, TruncatedFileShowsTheFieldsThatFit)
{
    ModuleFixture f;
    f.Compile(Utf8ToCp1252(kBmpModule), "bmp");
    std::vector<uint8_t> bmp = MakeBitmap(2, 2, 1, {0, 0xFFFFFF}, {0, 0, 0, 0, 0, 0, 0, 0});
    bmp.resize(20);
    auto rows = f.Run(bmp);
    // Width and height do not fit; the planes word still does, then the colour table title
    // is shown and the seek to the pixel data leaves the data.
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows[7].name, Utf8ToCp1252("Kopfgröße"));
    EXPECT_EQ(rows[8].name, "Ebenen");
    EXPECT_EQ(rows[8].offset, 18);
    EXPECT_EQ(rows[8].text, "2 ");
    EXPECT_EQ(rows[9].name, "Farbtabelle");
}

}  // namespace
}  // namespace qv::test
