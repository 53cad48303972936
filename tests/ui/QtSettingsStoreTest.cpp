// SPDX-License-Identifier: GPL-3.0-or-later
// The INI-backed settings store: every value kind, sections, enumeration, and the
// Windows-1252 texts of the program kept readable as Unicode in the file.
#include "platform/qt/QtSettingsStore.h"

#include <gtest/gtest.h>

#include <QFile>

#include "tests/support/TempDir.h"

namespace qv {
namespace {

TEST(QtSettingsStoreTest, ValuesOfEveryKindSurviveAReopen)
{
    test::TempDir dir;
    const QString path = QString::fromStdString(dir.File("q.conf"));
    {
        QtSettingsStore store(path);
        store.WriteDword("", "PasteMode", 32);
        store.WriteDword("Settings", "LastDataEntry", 0xFFFFFFFF);
        store.WriteString("Hex", "Font", "Courier\xE4");  // "ä" in Windows-1252
        store.WriteMultiString("", "HexFind", {"0x12", "'abc'", "\x80uro"});
        store.WriteBinary("Hex", "Colors", {0, 1, 2, 255});
        store.WriteString("Recent File List", "File1", "/tmp/a.bin");
        store.Sync();
    }
    QtSettingsStore store(path);
    EXPECT_EQ(store.ReadDword("", "PasteMode"), 32u);
    EXPECT_EQ(store.ReadDword("Settings", "LastDataEntry"), 0xFFFFFFFFu);
    EXPECT_EQ(store.ReadString("Hex", "Font"), "Courier\xE4");
    EXPECT_EQ(store.ReadMultiString("", "HexFind"), (std::vector<std::string>{"0x12", "'abc'", "\x80uro"}));
    EXPECT_EQ(store.ReadBinary("Hex", "Colors"), (std::vector<uint8_t>{0, 1, 2, 255}));
    EXPECT_FALSE(store.ReadDword("Hex", "Missing"));
    EXPECT_FALSE(store.ReadString("Nowhere", "Font"));

    auto sections = store.SubSections("");
    std::sort(sections.begin(), sections.end());
    EXPECT_EQ(sections, (std::vector<std::string>{"Hex", "Recent File List", "Settings"}));
    auto names = store.ValueNames("Hex");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Colors", "Font"}));

    store.DeleteValue("Hex", "Font");
    EXPECT_FALSE(store.ReadString("Hex", "Font"));
    store.DeleteSection("Hex");
    EXPECT_TRUE(store.ValueNames("Hex").empty());
    store.Sync();

    // The file holds Unicode text, so a user can read and edit it.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(file.readAll()).contains(QString::fromUtf8("€uro")));
}

TEST(QtSettingsStoreTest, HandEditedNumbersAreReadAndJunkIsIgnored)
{
    test::TempDir dir;
    const auto path = dir.Write("q.conf", std::string("[Hex]\nA=0x20\nB=-1\nC=abc\n"));
    QtSettingsStore store(QString::fromStdString(path));
    EXPECT_EQ(store.ReadDword("Hex", "A"), 0x20u);
    EXPECT_EQ(store.ReadDword("Hex", "B"), 0xFFFFFFFFu);
    EXPECT_FALSE(store.ReadDword("Hex", "C"));
}

}  // namespace
}  // namespace qv
