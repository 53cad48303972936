// SPDX-License-Identifier: GPL-3.0-or-later
// The hook between the document and the format readers and writers: the start-offset
// dialog, the base address it sets, and which formats read and write.
#include "document/DocumentFormats.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/StartOffsetDialog.h"
#include "document/StartOptions.h"
#include "tests/support/FakeDialogService.h"

namespace qv {
namespace {

std::vector<uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

// A type 04 record for 0x0800, then four bytes at 0x0010.
const std::vector<uint8_t> kHighHex = Bytes(":020000040800F2\r\n:0400100001020304E2\r\n:00000001FF\r\n");

class DocumentFormatsTest : public ::testing::Test {
protected:
    StartOptions options;
    test::FakeDialogService dialogs;
    FormatContext context{&options, &dialogs, nullptr, false};
};

TEST_F(DocumentFormatsTest, IntelHexWithoutOffsetAsksNothing)
{
    options.BaseAddress = 0x77;
    const auto bytes = ReadDocumentFormat(DocumentFormat::IntelHex, kHighHex, context);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), 0x08000400u);
    EXPECT_EQ((*bytes)[0x08000010], 1);
    EXPECT_TRUE(dialogs.opened.empty());
    EXPECT_EQ(options.BaseAddress, 0x77u);
}

TEST_F(DocumentFormatsTest, ConfirmedStartOffsetBecomesTheBaseAddress)
{
    context.askStartOffset = true;
    std::string shown;
    dialogs.steps.push_back([&](DialogModel& model) {
        shown = dynamic_cast<StartOffsetDialog&>(model).text;
        return true;
    });
    const auto bytes = ReadDocumentFormat(DocumentFormat::IntelHex, kHighHex, context);
    EXPECT_EQ(dialogs.opened, std::vector<std::string>{"StartOffset"});
    EXPECT_EQ(shown, "0x8000000");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), 1024u);
    EXPECT_EQ((*bytes)[0x10], 1);
    EXPECT_EQ(options.BaseAddress, 0x08000000u);

    // Saved again with that base, the records keep their addresses.
    const auto text = WriteDocumentFormat(DocumentFormat::IntelHex, bytes->data(), bytes->size(), options.BaseAddress);
    ASSERT_TRUE(text);
    const std::string written(text->begin(), text->end());
    EXPECT_EQ(written.substr(0, 17), ":020000040800F2\r\n");
    EXPECT_NE(written.find(":10001000010203040000000000000000"), std::string::npos);
}

TEST_F(DocumentFormatsTest, CancelledStartOffsetReadsFromZeroAndKeepsBase)
{
    context.askStartOffset = true;
    options.BaseAddress = 0x55;
    const auto bytes = ReadDocumentFormat(DocumentFormat::IntelHex, kHighHex, context);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), 0x08000400u);
    EXPECT_EQ(options.BaseAddress, 0x55u);
}

TEST_F(DocumentFormatsTest, EveryFormatIsBuiltIn)
{
    for (auto format : {DocumentFormat::Binary, DocumentFormat::IntelHex, DocumentFormat::Compressed,
                        DocumentFormat::CArray})
        EXPECT_TRUE(FormatAvailable(format));
    EXPECT_EQ(ReadDocumentFormat(DocumentFormat::CArray, Bytes("0x01,0x02,\r\n"), context),
              (std::vector<uint8_t>{1, 2}));
    EXPECT_FALSE(ReadDocumentFormat(DocumentFormat::Compressed, Bytes("QVCD broken"), context));
    const uint8_t data[] = {0xAB};
    EXPECT_EQ(WriteDocumentFormat(DocumentFormat::CArray, data, 1, 0), Bytes("0xAB,\r\n"));
    EXPECT_FALSE(WriteDocumentFormat(DocumentFormat::Compressed, data, 1, 0));
}

}  // namespace
}  // namespace qv
