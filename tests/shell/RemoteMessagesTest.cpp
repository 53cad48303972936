// SPDX-License-Identifier: GPL-3.0-or-later
// The remote-control messages against a recording target: what each message does, what
// it answers, and that malformed blocks change nothing.
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
    RemoteReply CopyData(uint32_t code, const std::string& block)
    {
        return messages.Handle({kCopyDataMessage, 0, code, block});
    }
    FakeRemoteTarget target;
    RemoteMessages messages{target};
};

TEST_F(RemoteMessagesTest, RemoteControlClosesAnswersThePathAndTheReceivedText)
{
    target.path = "/tmp/Gr\xC3\xBC\xC3\x9F" "e.bin";  // UTF-8 inside, Windows-1252 on the wire
    EXPECT_EQ(messages.Handle({kRemoteControlMessage, 0, 0, {}}).result, 1);
    EXPECT_EQ(target.posted, std::vector<int>{57665});

    const RemoteReply path = messages.Handle({kRemoteControlMessage, 2, 0, {}});
    EXPECT_EQ(path.text, "/tmp/Gr\xFC\xDF" "e.bin");

    EXPECT_EQ(CopyData(kCopyDataPathText, std::string("Hallo\xE4\0", 7)).result, 1);
    const RemoteReply text = messages.Handle({kRemoteControlMessage, 4, 0, {}});
    EXPECT_EQ(text.text, "Hallo\xE4");

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
    EXPECT_EQ(CopyData(kCopyDataOpenFile, std::string("/tmp/\xE4.bin\0junk", 15)).result, 1);
    EXPECT_EQ(CopyData(kCopyDataOpenFile | kCopyDataUtf16, Utf16Block(u"/tmp/\u00FC.bin" + std::u16string(1, 0)))
                  .result,
              1);
    target.openSucceeds = false;
    EXPECT_EQ(CopyData(kCopyDataOpenFile, std::string("/missing\0", 9)).result, 0);
    EXPECT_EQ(target.opened, (std::vector<std::string>{"/tmp/\xC3\xA4.bin", "/tmp/\xC3\xBC.bin", "/missing"}));
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
    // Characters outside the code page arrive as '?'.
    CopyData(kCopyDataPathText | kCopyDataUtf16, Utf16Block(u"\u03A9\u20AC" + std::u16string(1, 0)));
    EXPECT_EQ(messages.ReceivedText(), "?\x80");
}

TEST_F(RemoteMessagesTest, ComparePathIgnoresCaseAndSlashDirection)
{
    target.path = "/Data/Fw/Boot\xC3\x84.bin";  // "BootÄ.bin"
    EXPECT_EQ(CopyData(kCopyDataComparePath, std::string("\\data\\FW\\boot\xE4.BIN\0", 20)).result, 1);
    EXPECT_EQ(CopyData(kCopyDataComparePath, std::string("/data/fw/../Fw/./BOOT\xC4.bin\0", 27)).result, 1);
    EXPECT_EQ(CopyData(kCopyDataComparePath, std::string("/data/fw/boot.bin\0", 18)).result, 0);
    target.path.clear();
    EXPECT_EQ(CopyData(kCopyDataComparePath, std::string("\0", 1)).result, 0);
}

}  // namespace
}  // namespace qv
