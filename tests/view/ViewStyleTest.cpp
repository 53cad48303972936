// SPDX-License-Identifier: GPL-3.0-or-later
// View styles: sharing by name, fonts with their fall-backs, settings and the dialogs.
#include <gtest/gtest.h>

#include "tests/support/FakeDialogService.h"
#include "tests/support/FakeLineViewHost.h"
#include "tests/support/FakeSettingsStore.h"
#include "view/AnsiView.h"
#include "view/ColorDialogModel.h"
#include "view/FontDialogModel.h"
#include "view/ViewStyleSettings.h"

namespace qv::test {
namespace {

TEST(ViewStyle, ViewsOfOneNameShareTheStyleUntilTheLastGoes)
{
    std::shared_ptr<ViewStyle> first;
    int32_t group = 0;
    {
        CAnsiView a("StyleShare");
        CAnsiView b("StyleShare");
        CAnsiView other("StyleOther");
        EXPECT_EQ(&a.Style(), &b.Style());
        EXPECT_NE(&a.Style(), &other.Style());
        EXPECT_NE(a.Style().group, other.Style().group);
        a.Colors().Add(0x1, 0x2, "Extra", 9, 0);
        EXPECT_EQ(b.Colors().FindByIndex(9), 1);
        group = a.Style().group;
        first = AcquireViewStyle("StyleShare");
        EXPECT_EQ(first->RefCount(first), 3);
    }
    EXPECT_EQ(first->RefCount(first), 1);
    first.reset();
    CAnsiView fresh("StyleShare");
    EXPECT_NE(fresh.Style().group, group);
    EXPECT_EQ(fresh.Colors().Count(), 1);  // a new style holds only "Standard"
}

TEST(FontSpec, StoredFormIsFortyFourBytes)
{
    FontSpec spec;
    spec.width = 7;
    spec.height = -13;
    spec.style = FontFixedPitch | FontBold;
    spec.SetFaceName("DejaVu Sans Mono");
    std::vector<uint8_t> bytes = spec.ToBytes();
    ASSERT_EQ(bytes.size(), 44u);
    EXPECT_EQ(bytes[0], 7);
    EXPECT_EQ(bytes[4], 0xF3);  // -13, little-endian
    EXPECT_EQ(bytes[7], 0xFF);
    EXPECT_EQ(bytes[8], 0x9);
    EXPECT_EQ(bytes[12], 'D');
    EXPECT_EQ(bytes[43], 0);
    EXPECT_EQ(FontSpec::FromBytes(bytes), spec);
    bytes.pop_back();
    EXPECT_FALSE(FontSpec::FromBytes(bytes));
    // an unterminated stored face is cut to 31 characters
    std::vector<uint8_t> unterminated = spec.ToBytes();
    std::fill(unterminated.begin() + 12, unterminated.end(), 'A');
    EXPECT_EQ(FontSpec::FromBytes(unterminated)->FaceName(), std::string(31, 'A'));
    FontSpec longName;
    longName.SetFaceName(std::string(50, 'x'));
    EXPECT_EQ(longName.FaceName().size(), 31u);
}

TEST(FontSpec, FallbacksTryTheWantedFaceThenClassicNamesThenTheSystemFace)
{
    EXPECT_EQ(FontFaceFallbacks("Iosevka"),
              (std::vector<std::string>{"Iosevka", "Courier", "Terminal", "Fixedsys", ""}));
    EXPECT_EQ(FontFaceFallbacks("courier"), (std::vector<std::string>{"courier", "Terminal", "Fixedsys", ""}));
    EXPECT_EQ(FontFaceFallbacks(""), (std::vector<std::string>{"Courier", "Terminal", "Fixedsys", ""}));
}

class ViewStyleFonts : public ::testing::Test {
protected:
    void Attach(CAnsiView& view)
    {
        view.AttachHost(&host);
        view.HandleSize(400, 300);
    }
    FakeLineViewHost host;
};

TEST_F(ViewStyleFonts, NewStyleGetsCourierOfFifteenPixels)
{
    CAnsiView view("FontNew");
    Attach(view);
    EXPECT_EQ(view.Style().font.FaceName(), "Courier");
    EXPECT_EQ(view.Style().font.height, 15);
    EXPECT_EQ(view.CharWidth(), 8);
    EXPECT_EQ(view.CharHeight(), 16);
    EXPECT_GE(host.fontChanges, 1);
    view.DetachHost();
}

TEST_F(ViewStyleFonts, HeightIsLimitedAndStyleIsPlainFixedPitch)
{
    CAnsiView view("FontLimit");
    Attach(view);
    struct Case {
        int32_t requested, stored;
    };
    for (Case c : {Case{60, 48}, Case{3, 6}, Case{-60, -48}, Case{20, 20}}) {
        view.SetFont(c.requested, "Courier");
        EXPECT_EQ(view.Style().font.height, c.stored) << c.requested;
        EXPECT_EQ(view.Style().font.style, FontFixedPitch);
        EXPECT_EQ(view.Style().font.width, 0);
    }
    view.DetachHost();
}

TEST_F(ViewStyleFonts, MissingFacesFallBackAndNoFaceKeepsTheOldFont)
{
    CAnsiView view("FontFallback");
    Attach(view);
    host.missingFaces = {"Nirgendwo"};
    host.measured.clear();
    host.cell = {9, 18};
    view.SetFont(18, "Nirgendwo");
    EXPECT_EQ(host.measured.at(0), "Nirgendwo");
    EXPECT_EQ(host.measured.at(1), "Courier");
    EXPECT_EQ(view.Style().variants[0].FaceName(), "Courier");
    EXPECT_EQ(view.CharWidth(), 9);
    host.missingFaces = {"Nirgendwo", "Courier", "Terminal", "Fixedsys", ""};
    host.cell = {12, 24};
    view.SetFont(24, "Nirgendwo");
    EXPECT_EQ(view.CharWidth(), 9);
    EXPECT_EQ(view.CharHeight(), 18);
    view.DetachHost();
}

TEST_F(ViewStyleFonts, VariantsWithADifferentCellUseTheBaseFont)
{
    CAnsiView view("FontVariants");
    host.variantCellDiffersFor = FontItalic;
    Attach(view);
    for (int v = 0; v < kFontVariantCount; ++v) {
        uint32_t style = view.Style().variants[static_cast<size_t>(v)].style;
        if (v & FontItalic)
            EXPECT_EQ(style, FontFixedPitch) << v;  // replaced by the base
        else
            EXPECT_EQ(style, FontFixedPitch | static_cast<uint32_t>(v)) << v;
    }
    view.DetachHost();
}

TEST_F(ViewStyleFonts, ZeroCellCountsAsOnePixel)
{
    CAnsiView view("FontZero");
    host.cell = {0, 0};
    Attach(view);
    EXPECT_EQ(view.CharWidth(), 1);
    EXPECT_EQ(view.CharHeight(), 1);
    EXPECT_GE(view.PaneColumns(), 1);
    view.DetachHost();
}

TEST_F(ViewStyleFonts, FontChangeReachesEveryViewOfTheStyle)
{
    CAnsiView a("FontGroup");
    CAnsiView b("FontGroup");
    FakeLineViewHost otherHost;
    Attach(a);
    b.AttachHost(&otherHost);
    b.HandleSize(400, 300);
    host.cell = {10, 20};
    a.SetFont(20, "Courier");
    EXPECT_EQ(b.CharWidth(), 10);
    EXPECT_EQ(b.CharHeight(), 20);
    EXPECT_EQ(b.PaneRows(), (300 - 16 + 19) / 20);
    a.DetachHost();
    b.DetachHost();
}

TEST(ViewStyleSettings, ColoursAndFontRoundTrip)
{
    FakeSettingsStore store;
    ColorTable table;
    table.Add(kDefaultColor, kDefaultColor, "Standard", 1, 0);
    table.Add(0x00FF00, 0x123456, "HEX-Bereich", 3, 0x105);
    table.Add(0x1, 0x2, "Ohne Index", 0, 0);
    StoreColorEntries(store, "Hex", table);
    EXPECT_EQ(store.ReadDword("Hex/Colors/3", "TX"), 0x00FF00u);
    EXPECT_EQ(store.ReadDword("Hex/Colors/1", "BG"), 0xFFFFFFFFu);
    EXPECT_EQ(store.ReadString("Hex/Colors/3", "Name"), "HEX-Bereich");
    EXPECT_TRUE(store.SubSections("Hex/Colors").size() == 2);  // index 0 is never stored

    ColorTable loaded;
    loaded.Add(kDefaultColor, kDefaultColor, "Standard", 1, 0);
    LoadColorEntries(store, "Hex", loaded);
    ASSERT_EQ(loaded.Count(), 2);
    EXPECT_EQ(loaded.At(1), table.At(1));

    FontSpec spec;
    spec.height = 22;
    spec.SetFaceName("Terminal");
    StoreFontSpec(store, "Hex", spec);
    EXPECT_EQ(LoadFontSpec(store, "Hex"), spec);
    store.WriteBinary("Hex", "Font", {1, 2, 3});
    EXPECT_FALSE(LoadFontSpec(store, "Hex"));
}

TEST(ViewStyleSettings, BadColourKeysAreIgnored)
{
    FakeSettingsStore store;
    store.WriteString("Hex/Colors/abc", "Name", "Falsch");
    store.WriteString("Hex/Colors/0", "Name", "Null");
    store.WriteString("Hex/Colors/-4", "Name", "Negativ");
    store.WriteString("Hex/Colors/5x", "Name", "Rest");
    store.WriteDword("Hex/Colors/6", "TX", 0x00FF00);  // no name
    store.WriteString("Hex/Colors/7", "Name", "Neu");  // colours default
    ColorTable table;
    table.Add(kDefaultColor, kDefaultColor, "Standard", 1, 0);
    LoadColorEntries(store, "Hex", table);
    ASSERT_EQ(table.Count(), 2);
    EXPECT_EQ(table.At(1), (ColorEntry{kDefaultColor, kDefaultColor, 7, 0, "Neu"}));
}

TEST(ViewStyleSettings, UserValuesOverrideMachineValues)
{
    FakeSettingsStore machine;
    FakeSettingsStore user;
    machine.WriteString("SettingsOrder/Colors/3", "Name", "HEX-Bereich");
    machine.WriteDword("SettingsOrder/Colors/3", "TX", 0x0000FF);
    machine.WriteDword("SettingsOrder/Colors/3", "BG", 0x111111);
    user.WriteString("SettingsOrder/Colors/3", "Name", "HEX-Bereich");
    user.WriteDword("SettingsOrder/Colors/3", "TX", 0x00FF00);
    CAnsiView view("SettingsOrder");
    view.Colors().Add(0x0000FF, kDefaultColor, "Adressen", 2, 0);
    view.Colors().Add(0xFF0000, kDefaultColor, "HEX-Bereich", 3, 0);
    view.SetSettingsStores({&user, &machine});
    const ColorEntry& hex = view.Colors().At(2);
    EXPECT_EQ(hex.text, 0x00FF00);      // a stored index 3 turns the hex area green
    EXPECT_EQ(hex.background, kDefaultColor);  // the user's entry is read whole
}

TEST(ViewStyleSettings, NoStyleViewNeitherLoadsNorStores)
{
    FakeSettingsStore user;
    user.WriteString("Plain/Colors/1", "Name", "Standard");
    user.WriteDword("Plain/Colors/1", "TX", 0x123456);
    CAnsiView view("Plain");
    view.SetNoStyle(true);
    view.SetSettingsStores({&user, nullptr});
    EXPECT_EQ(view.Colors().At(0).text, kDefaultColor);
    user.values.clear();
    view.StoreSettings();
    EXPECT_TRUE(user.values.empty());
    EXPECT_EQ(view.EditColors(), 2);
}

TEST(ViewStyleDialogs, ColourDialogOkReplacesAndStoresTheTable)
{
    FakeSettingsStore user;
    FakeDialogService dialogs;
    CAnsiView view("DialogColors");
    view.Colors().Add(0xFFFFFF, 0xFF0000, "Markierung", 4, 0);
    view.SetSettingsStores({&user, nullptr});
    view.SetDialogService(&dialogs);
    dialogs.steps.push_back([](DialogModel& model) {
        auto& colors = static_cast<ColorDialogModel&>(model);
        colors.Select(1);
        colors.PickSwatch(true, 0);
        return true;
    });
    EXPECT_EQ(view.EditColors(), 1);
    EXPECT_EQ(dialogs.opened, (std::vector<std::string>{"LineViewColors"}));
    EXPECT_EQ(view.Colors().At(1).background, kDefaultColor);
    EXPECT_EQ(user.ReadDword("DialogColors/Colors/4", "BG"), 0xFFFFFFFFu);

    dialogs.steps.push_back([](DialogModel& model) {
        static_cast<ColorDialogModel&>(model).SetText(0x010101);
        return false;  // "Abbrechen"
    });
    EXPECT_EQ(view.EditColors(), 0);
    EXPECT_EQ(view.Colors().At(0).text, kDefaultColor);
}

TEST(ViewStyleDialogs, FontDialogKeepsOnlyFaceAndSize)
{
    FakeSettingsStore user;
    FakeDialogService dialogs;
    FakeLineViewHost host;
    CAnsiView view("DialogFont");
    view.AttachHost(&host);
    view.SetSettingsStores({&user, nullptr});
    view.SetDialogService(&dialogs);
    dialogs.steps.push_back([](DialogModel& model) {
        auto& font = static_cast<FontDialogModel&>(model);
        EXPECT_EQ(font.Current().FaceName(), "Courier");
        FontSpec chosen;
        chosen.height = -17;
        chosen.style = FontBold | FontItalic | FontFixedPitch;
        chosen.SetFaceName("Terminal");
        font.Choose(chosen);
        return true;
    });
    EXPECT_EQ(view.EditFont(), 1);
    EXPECT_EQ(view.Style().font.style, FontFixedPitch);  // bold chosen, still normal weight
    EXPECT_EQ(view.Style().font.height, -17);
    EXPECT_EQ(view.Style().font.FaceName(), "Terminal");
    auto stored = LoadFontSpec(user, "DialogFont");
    ASSERT_TRUE(stored);
    EXPECT_EQ(*stored, view.Style().font);
    EXPECT_EQ(view.EditFont(), 0);  // no more steps: cancelled
    view.DetachHost();
}

TEST(ViewStyleDialogs, CommandsRunTheDialogsOrGoToTheParent)
{
    FakeDialogService dialogs;
    FakeLineViewParent parent;
    CAnsiView view("DialogCommands");
    view.SetParent(&parent);
    EXPECT_FALSE(view.RunCommand(CmdColors));  // no dialogs here: the parent's turn
    EXPECT_EQ(parent.executed, (std::vector<int>{CmdColors}));
    view.SetDialogService(&dialogs);
    EXPECT_TRUE(view.RunCommand(CmdColors));
    EXPECT_TRUE(view.RunCommand(CmdFont));
    EXPECT_EQ(dialogs.opened, (std::vector<std::string>{"LineViewColors", "LineViewFont"}));
    EXPECT_FALSE(view.HandleCommand(CmdPrint));
}

}  // namespace
}  // namespace qv::test
