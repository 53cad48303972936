// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/FakeDialogService.h"
#include "tests/support/FakeSettingsStore.h"
#include "tests/support/ScriptedTaskRunner.h"
#include "tools/ChecksumDialogModel.h"
#include "tools/ChecksumTool.h"
#include "tools/CrcDialogModel.h"
#include "tools/CrcTool.h"
#include "view/BufferFlags.h"
#include "view/HexView.h"

namespace qv {
namespace {

class ToolViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bytes_ = {'1', '2', '3', '4', '5', '6', '7', '8', '9', 'x', 'y'};
        view_.SetBuffer(bytes_.data(), static_cast<int32_t>(bytes_.size()), 0, ViewWritable);
    }
    ToolBytes Input() const { return ToolInputOfView(view_); }
    std::vector<uint8_t> bytes_;
    CHexView view_;
    test::FakeDialogService dialogs_;
    test::FakeSettingsStore user_;
    test::ScriptedTaskRunner runner_;
};

TEST_F(ToolViewTest, ChecksumWithoutSelectionSumsTheWholeSmallDocument)
{
    uint32_t byteSum = 0;
    dialogs_.steps.push_back([&](DialogModel& model) {
        byteSum = static_cast<ChecksumDialogModel&>(model).Sums().bytes.added;
        return true;
    });
    RunChecksumTool(Input(), dialogs_, runner_);
    ASSERT_EQ(dialogs_.opened, std::vector<std::string>{"Checksum"});
    EXPECT_EQ(byteSum, 0x1DDu + 'x' + 'y');
    EXPECT_EQ(runner_.titles, std::vector<std::string>{kChecksumTaskTitle});

    runner_.cancelNext = true;  // a cancelled computation shows no dialog
    RunChecksumTool(Input(), dialogs_, runner_);
    EXPECT_EQ(dialogs_.opened.size(), 1u);
}

TEST_F(ToolViewTest, CrcOverTheSelectionStoresOnOkOnly)
{
    view_.SetCursorOffset(0, false);
    view_.SelectTo(9, false);  // bytes 0..8: "123456789"
    std::string lengthText, result;
    dialogs_.steps.push_back([&](DialogModel& model) {
        auto& crc = static_cast<CrcDialogModel&>(model);
        lengthText = crc.LengthText();
        crc.SetInvert(true);
        result = crc.ResultText(2);
        return false;
    });
    EXPECT_FALSE(RunCrcTool(Input(), {&user_, nullptr}, dialogs_, runner_));
    EXPECT_EQ(lengthText, "9 / 0x0009");
    EXPECT_EQ(result, "0xCBF43926");
    EXPECT_TRUE(user_.values.empty());

    dialogs_.steps.push_back([&](DialogModel& model) {
        auto& crc = static_cast<CrcDialogModel&>(model);
        crc.Fields().widthText = "16";
        crc.Changed(CrcChange::Width);
        return true;
    });
    EXPECT_TRUE(RunCrcTool(Input(), {&user_, nullptr}, dialogs_, runner_));
    EXPECT_EQ(*user_.ReadString("HexCrcCalc", "PolynomSize"), "16");
    EXPECT_EQ(*user_.ReadString("HexCrcCalc", "PolynomValue"), "0x8320");
    EXPECT_EQ(*user_.ReadMultiString("HexCrcCalc", "StartList"), std::vector<std::string>{"0xFFFF"});
}

}  // namespace
}  // namespace qv
