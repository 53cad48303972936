// SPDX-License-Identifier: GPL-3.0-or-later
// The remote-control messages against a recording target: what each message does, what
// it answers in either protocol version, and that malformed blocks change nothing.
#include "shell/RemoteMessages.h"

#include <gtest/gtest.h>

#include "tests/support/FakeRemoteTarget.h"
#include "view/AnsiView.h"
#include "view/HexView.h"

namespace qv {
namespace {

using test::FakeRemoteTarget;

std::string Utf16Block(std::u16string text)
{
    std::string block;
    for (char16_t c : text) block += static_cast<char>(c & 0xFF), block += static_cast<char>(c >> 8);
    return block;
}

class RemoteMessagesTest : public ::testing::Test {
protected:
    RemoteReply CopyData(uint32_t code, const std::string& block, uint32_t version = kRemoteProtocolVersion)
    {
        return messages.Handle({kCopyDataMessage, 0, code, block, version});
    }
    RemoteReply Ask(uint32_t message, uint64_t wParam, uint64_t lParam, uint32_t version)
    {
        return messages.Handle({message, wParam, lParam, {}, version});
    }
    FakeRemoteTarget target;
    RemoteMessages messages{target};
};

TEST_F(RemoteMessagesTest, RemoteControlClosesAnswersThePathAndTheReceivedText)
{
    target.path = "/tmp/Gr\xC3\xBC\xC3\x9F" "e.bin";  // "Grüße": UTF-8, Windows-1252 in version 1
    EXPECT_EQ(messages.Handle({kRemoteControlMessage, 0, 0, {}}).result, 1);
    EXPECT_EQ(target.posted, std::vector<int>{57665});

    EXPECT_EQ(Ask(kRemoteControlMessage, 2, 0, 2).text, target.path);
    EXPECT_EQ(Ask(kRemoteControlMessage, 2, 0, 1).text, "/tmp/Gr\xFC\xDF" "e.bin");

    // A text sent in version 1 is read as Windows-1252 and handed out in either version.
    EXPECT_EQ(CopyData(kCopyDataPathText, std::string("Hallo\xE4\0", 7), 1).result, 1);
    EXPECT_EQ(Ask(kRemoteControlMessage, 4, 0, 2).text, "Hallo\xC3\xA4");
    EXPECT_EQ(Ask(kRemoteControlMessage, 4, 0, 1).text, "Hallo\xE4");

    for (uint32_t other : {1u, 3u, 5u, 0xFFFFFFFFu}) {
        const RemoteReply reply = messages.Handle({kRemoteControlMessage, other, 0, {}});
        EXPECT_EQ(reply.result, 0) << other;
        EXPECT_TRUE(reply.text.empty()) << other;
    }
    EXPECT_EQ(target.posted.size(), 1u);
}

TEST_F(RemoteMessagesTest, ViewMessagesGoToTheViewOnlyWhenThereIsOne)
{
    target.viewResult = 0x10;
    EXPECT_EQ(messages.Handle({kViewControlMessage, 5, 0, {}}).result, 0x10);
    target.lineResult = 0x00030008;
    EXPECT_EQ(messages.Handle({kLineViewControlMessage, 1, 0x00020007, {}}).result, 0x00030008);
    EXPECT_EQ(messages.Handle({kSelectRangeMessage, 0x40, 0x00040000, {}}).result, 0);
    EXPECT_EQ(target.viewCalls, (std::vector<FakeRemoteTarget::Call>{{5, 0}}));
    EXPECT_EQ(target.lineCalls, (std::vector<FakeRemoteTarget::Call>{{1, 0x00020007}}));
    // The selection length is the high half of lParam; the view decides what 0 or 256 do.
    EXPECT_EQ(target.selections, (std::vector<FakeRemoteTarget::Range>{{0x40, 4}}));

    target.hasView = false;
    EXPECT_EQ(messages.Handle({kViewControlMessage, 8, 0, {}}).result, 0);
    EXPECT_EQ(messages.Handle({kLineViewControlMessage, 3, 0, {}}).result, 0);
    messages.Handle({kSelectRangeMessage, 1, 0x00010000, {}});
    EXPECT_EQ(target.viewCalls.size(), 1u);
    EXPECT_EQ(target.lineCalls.size(), 1u);
    EXPECT_EQ(target.selections.size(), 1u);
}

TEST_F(RemoteMessagesTest, CommandsRunOnlyWhenEnabledAndUnknownMessagesAnswerZero)
{
    target.enabledCommand = 32868;
    EXPECT_EQ(messages.Handle({kRemoteCommandMessage, 32868, 0, {}}).result, 1);
    EXPECT_EQ(messages.Handle({kRemoteCommandMessage, 57643, 0, {}}).result, 0);
    EXPECT_EQ(target.ran, (std::vector<int>{32868, 57643}));
    for (uint32_t message : {0u, 0x27F3u, 0x4922u, 0xFFFFFFFFu})
        EXPECT_EQ(messages.Handle({message, 0, 0, "x"}).result, 0) << message;
    EXPECT_EQ(CopyData(0x27F50004, std::string("a\0", 2)).result, 0);
}

TEST_F(RemoteMessagesTest, OpenFileTakesEightBitOrUtf16TextUpToItsZero)
{
    EXPECT_EQ(CopyData(kCopyDataOpenFile, std::string("/tmp/\xE4.bin\0junk", 15), 1).result, 1);
    EXPECT_EQ(CopyData(kCopyDataOpenFile, std::string("/tmp/\xE6\x97\xA5.bin\0", 13)).result, 1);  // "日"
    EXPECT_EQ(CopyData(kCopyDataOpenFile | kCopyDataUtf16, Utf16Block(u"/tmp/\u00FC\u03A9.bin" + std::u16string(1, 0)))
                  .result,
              1);
    target.openSucceeds = false;
    EXPECT_EQ(CopyData(kCopyDataOpenFile, std::string("/missing\0", 9)).result, 0);
    EXPECT_EQ(target.opened, (std::vector<std::string>{"/tmp/\xC3\xA4.bin", "/tmp/\xE6\x97\xA5.bin",
                                                       "/tmp/\xC3\xBC\xCE\xA9.bin", "/missing"}));
}

TEST_F(RemoteMessagesTest, Version1GetsItsAnswersWhereTheyFitAndARefusalWhereNot)
{
    struct Case {
        int64_t value;
        bool fits;
    } cases[] = {{0, true}, {0xFFFFFFFF, true}, {0x100000000, false}, {5905580032, false}};
    for (const Case& c : cases) {
        target.viewResult = c.value;
        EXPECT_EQ(Ask(kViewControlMessage, 5, 0, 2).result, c.value);
        const RemoteReply narrow = Ask(kViewControlMessage, 5, 0, 1);
        EXPECT_EQ(narrow.version, kRemoteProtocolVersion1);
        if (c.fits) {
            EXPECT_EQ(narrow.result, c.value);
            EXPECT_TRUE(narrow.text.empty());
        } else {
            EXPECT_EQ(narrow.result, kRemoteRefused);
            EXPECT_NE(narrow.text.find(std::to_string(c.value) + " passt nicht in 32 Bit"), std::string::npos);
        }
    }
    target.path = "/tmp/\xCE\xA9.bin";  // "Ω" has no Windows-1252 byte
    const RemoteReply path = Ask(kRemoteControlMessage, 2, 0, 1);
    EXPECT_EQ(path.result, kRemoteRefused);
    EXPECT_NE(path.text.find("Windows-1252"), std::string::npos);
    EXPECT_EQ(Ask(kRemoteControlMessage, 2, 0, 2).text, target.path);

    // Version 2 carries 64-bit arguments to the view; version 1 its 32 bits unsigned.
    target.viewCalls.clear();
    Ask(kViewControlMessage, 0, 0x170000000, 2);
    Ask(kViewControlMessage, 0, 0xFFFFFFFF, 1);
    Ask(kSelectRangeMessage, 0x160000000, 6 << 16, 2);
    EXPECT_EQ(target.viewCalls, (std::vector<FakeRemoteTarget::Call>{{0, 0x170000000}, {0, 0xFFFFFFFF}}));
    EXPECT_EQ(target.selections.back(), (FakeRemoteTarget::Range{0x160000000, 6}));
}

TEST_F(RemoteMessagesTest, MalformedBlocksAreRefusedAndChangeNothing)
{
    CopyData(kCopyDataPathText, std::string("kept\0", 5));
    const std::string tooLong = Utf16Block(std::u16string(kCopyDataUtf16Buffer, u'a') + std::u16string(1, 0));
    const std::string fits = Utf16Block(std::u16string(kCopyDataUtf16Buffer - 1, u'a') + std::u16string(1, 0));
    struct Case {
        const char* what;
        uint32_t code;
        std::string block;
    } cases[] = {
        {"8-bit without zero", kCopyDataOpenFile, "/tmp/x.bin"},
        {"empty block", kCopyDataOpenFile, ""},
        {"empty name", kCopyDataOpenFile, std::string(1, '\0')},
        {"UTF-16 without zero", kCopyDataOpenFile | kCopyDataUtf16, Utf16Block(u"/tmp/x")},
        {"UTF-16 odd byte count", kCopyDataPathText | kCopyDataUtf16, std::string("a\0\0", 3)},
        {"UTF-16 over 259 bytes", kCopyDataPathText | kCopyDataUtf16, tooLong},
        {"text without zero", kCopyDataPathText, "new"},
    };
    for (const auto& c : cases) EXPECT_EQ(CopyData(c.code, c.block).result, 0) << c.what;
    EXPECT_TRUE(target.opened.empty());
    EXPECT_EQ(messages.ReceivedText(), "kept");
    EXPECT_EQ(CopyData(kCopyDataPathText | kCopyDataUtf16, fits).result, 1);
    EXPECT_EQ(messages.ReceivedText(), std::string(kCopyDataUtf16Buffer - 1, 'a'));
    // Every character arrives as it was sent; a lone surrogate spells nothing.
    CopyData(kCopyDataPathText | kCopyDataUtf16, Utf16Block(u"\u03A9\u20AC" + std::u16string(1, 0)));
    EXPECT_EQ(messages.ReceivedText(), "\xCE\xA9\xE2\x82\xAC");
    EXPECT_EQ(CopyData(kCopyDataPathText | kCopyDataUtf16, Utf16Block(std::u16string{u'a', 0xD800, 0})).result, 0);
    EXPECT_EQ(messages.ReceivedText(), "\xCE\xA9\xE2\x82\xAC");
}

TEST_F(RemoteMessagesTest, ComparePathIgnoresCaseAndSlashDirection)
{
    target.path = "/Data/Fw/Boot\xC3\x84.bin";  // "BootÄ.bin"
    EXPECT_EQ(CopyData(kCopyDataComparePath, std::string("\\data\\FW\\boot\xE4.BIN\0", 20), 1).result, 1);
    EXPECT_EQ(CopyData(kCopyDataComparePath, std::string("/data/fw/../Fw/./BOOT\xC3\xA4.bin\0", 28)).result, 1);
    EXPECT_EQ(CopyData(kCopyDataComparePath, std::string("/data/fw/boot.bin\0", 18)).result, 0);
    // Names outside the code page compare exactly there: "Ω" and "Ж" are different files.
    target.path = "/data/\xCE\xA9.bin";
    EXPECT_EQ(CopyData(kCopyDataComparePath, std::string("/DATA/\xCE\xA9.bin\0", 13)).result, 1);
    EXPECT_EQ(CopyData(kCopyDataComparePath, std::string("/data/\xD0\x96.bin\0", 13)).result, 0);
    target.path.clear();
    EXPECT_EQ(CopyData(kCopyDataComparePath, std::string("\0", 1)).result, 0);
}

}  // namespace
}  // namespace qv
