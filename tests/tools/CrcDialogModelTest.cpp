// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "tests/support/FakeSettingsStore.h"
#include "tests/support/ScriptedTaskRunner.h"
#include "tests/support/SparseByteSource.h"
#include "tests/support/TempDir.h"
#include "tools/CrcDialogModel.h"

namespace qv {
namespace {

const uint8_t kCheck[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
const BlockByteSource kCheckSource(kCheck, sizeof kCheck);
constexpr const char* kSection = "HexCrcCalc";

TEST(CrcDialogModelTest, OpensWithDefaultsWhenNothingIsStored)
{
    test::FakeSettingsStore user;
    user.WriteString(kSection, "StartValue", "");  // empty counts as missing
    CrcDialogModel model(ToolBytes{&kCheckSource, 0, 9});
    model.Load({&user, nullptr});
    EXPECT_EQ(model.Fields().startText, "0xFFFFFFFF");
    EXPECT_EQ(model.Fields().widthText, "32-Bit");
    EXPECT_EQ(model.Fields().catalogIndex, 16u);
    EXPECT_EQ(model.ResultText(2), "0x340BC6D9");  // CRC-32 register from all ones, not inverted
    EXPECT_EQ(model.LengthText(), "9 / 0x0009");
    EXPECT_TRUE(model.SourceText().empty());
}

TEST(CrcDialogModelTest, InvertAndSourceChoiceRecompute)
{
    CrcDialogModel model(ToolBytes{&kCheckSource, 0, 9});
    model.Load({});
    model.SetInvert(true);
    EXPECT_EQ(model.ResultText(0), "0xCBF43926");
    EXPECT_EQ(model.ResultText(1), "0xD202D277");
    model.SetSource(2);
    EXPECT_EQ(model.SourceText().substr(0, 29), "typedef unsigned int CrcType;");
    EXPECT_NE(model.SourceText().find("#define     POLYNOM 0x04C11DB7"), std::string::npos);
    model.SetSource(0);
    EXPECT_TRUE(model.SourceText().empty());
    EXPECT_STREQ(CrcDialogModel::SourceLabel(3), "Algo. C");
    EXPECT_STREQ(CrcDialogModel::ResultLabel(4), "Ergebnis bei Start 0  Algo. B :");
}

TEST(CrcDialogModelTest, StoredValuesAndHistoriesAreLoadedWithoutDuplicates)
{
    test::FakeSettingsStore user, machine;
    user.WriteString(kSection, "PolynomSize", "16-Bit");
    user.WriteString(kSection, "PolynomValue", "0x8408");
    machine.WriteString(kSection, "StartValue", "0x0");
    user.WriteMultiString(kSection, "PolynomList", {"0x8408", "0xA001", "0x8408", "", "0x1021"});
    CrcDialogModel model(ToolBytes{&kCheckSource, 0, 9});
    model.Load({&user, &machine});
    EXPECT_EQ(model.Fields().catalogIndex, 10u);
    EXPECT_EQ(model.ResultText(4), "0x31C3");
    EXPECT_EQ(model.ReflectedHistory(), (std::vector<std::string>{"0x8408", "0xA001", "0x1021"}));
    EXPECT_TRUE(model.StartHistory().empty());
}

TEST(CrcDialogModelTest, OkWritesValuesAndHistoriesCurrentFirst)
{
    test::FakeSettingsStore user;
    std::vector<std::string> many{"0x1", "", "0x8408"};
    for (int i = 2; i < 30; ++i) many.push_back("0x" + std::to_string(i));
    user.WriteMultiString(kSection, "PolynomList", many);
    CrcDialogModel model(ToolBytes{&kCheckSource, 0, 9});
    model.Load({&user, nullptr});
    model.Fields().catalogIndex = 10;
    model.Changed(CrcChange::Catalog);
    model.Fields().startText = "";  // an empty current text keeps the stored history
    model.Changed(CrcChange::Start);
    model.Fields().startText = "";
    model.Save(user);
    EXPECT_EQ(*user.ReadString(kSection, "PolynomSize"), "16-Bit");
    EXPECT_EQ(*user.ReadString(kSection, "PolynomValue"), "0x8408");
    const auto list = *user.ReadMultiString(kSection, "PolynomList");
    ASSERT_EQ(list.size(), 16u);
    EXPECT_EQ(list[0], "0x8408");
    EXPECT_EQ(list[1], "0x1");
    EXPECT_EQ(list[2], "0x2");
    EXPECT_EQ(*user.ReadMultiString(kSection, "InversList"), (std::vector<std::string>{"0x1021"}));
    EXPECT_FALSE(user.ReadMultiString(kSection, "StartList").has_value());
}

// The command line runs the same fields and prints what the dialog shows.
TEST(CrcDialogModelTest, CommandLinePrintsTheNineResultsAndTheSource)
{
    const char* cli = std::getenv("QV_CLI");
    if (cli == nullptr) GTEST_SKIP() << "QV_CLI not set";
    test::TempDir dir;
    const std::string file = dir.Write("check.bin", std::string("123456789"));
    auto run = [&](const std::string& arguments) {
        const std::string command = std::string(cli) + " " + arguments + " 2>&1";
        std::string output;
        std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
        std::array<char, 4096> chunk;
        size_t got;
        while ((got = fread(chunk.data(), 1, chunk.size(), pipe.get())) > 0) output.append(chunk.data(), got);
        return output;
    };
    EXPECT_EQ(run("crc " + file + " --formula 'x^16+x^12+x^5+1' --start 0"),
              "Ergebnis :\t0x2189\nErgebnis bei Start 0 :\t0x2189\nErgebnis bei Start ~0 :\t0x6F91\n"
              "Ergebnis Algorithmus B :\t0x31C3\nErgebnis bei Start 0  Algo. B :\t0x31C3\n"
              "Ergebnis bei Start ~0  Algo. B :\t0x29B1\nErgebnis Algorithmus C :\t0x1C80\n"
              "Ergebnis bei Start 0  Algo. C :\t0x1C80\nErgebnis bei Start ~0  Algo. C :\t0x1C80\n");
    // (C at 16 bits: the table is i << 7 and the register's low seven bits stay 0, so the
    // result is the last byte '9' shifted by seven.)
    const std::string crc7 = run("crc " + file + " --catalog 'SD/MMC-Card (CRC-7)' --source C");
    EXPECT_NE(crc7.find("Ergebnis bei Start 0  Algo. C :\t0x75\n"), std::string::npos);
    EXPECT_NE(crc7.find("Algo. C :\t0x50\ntypedef unsigned char CrcType;\r\n"), std::string::npos);
    EXPECT_NE(run("crc " + file + " --width 8 --poly 0x8C --start 0 --length 4").find("Ergebnis :\t0x"),
              std::string::npos);
    EXPECT_EQ(run("checksum " + file + " --offset 6 --length 3 --big-endian"),
              "BYTE :\t0x000000A8\t0xFFFFFF58\t0x00000036\n"
              "WORD :\t0x00007038\t0xFFFF8FC8\t0x00000E38\n"
              "DWORD :\t0x37383900\t0xC8C7C700\t0x37383900\n");
    EXPECT_NE(run("crc " + file + " --formula 'x^3+y'").find("Formel"), std::string::npos);
    EXPECT_NE(run("crc " + file + " --catalog nothing").find("Katalogeintrag"), std::string::npos);
    EXPECT_NE(run("checksum " + file + " --offset 5 --length 9").find("Dateiende"), std::string::npos);
}

// Over a long input a pass waits for the dialog to run it, and a cancelled one leaves the
// results empty until the polynomial is edited; start values and the invert box then only
// recombine the pass.
TEST(CrcDialogModelTest, LongInputsRunTheirPassOnRequestAndMayBeCancelled)
{
    const int64_t length = CrcDialogModel::kCrcImmediateLimit + 5;
    test::SparseByteSource document(length + 100);
    document.Plant(3, {1, 2, 3});
    document.Plant(length - 2, {0xAB, 0xCD});
    std::vector<uint8_t> block(static_cast<size_t>(length));
    const std::span<const uint8_t> bytes = document.Window(0, length, block);
    test::ScriptedTaskRunner runner;
    CrcDialogModel model(ToolBytes{&document, 0, length}, &runner);
    auto expect = [&](uint64_t start, bool invert) {
        CrcCalculator calculator;
        calculator.SetPolynomial(model.Fields().Width(), model.Fields().Reflected(), model.Fields().Normal());
        return calculator.Compute(start, invert, bytes.data(), bytes.size());
    };

    model.Load({});
    EXPECT_TRUE(model.PassPending());
    EXPECT_EQ(model.ResultText(0), "");
    runner.cancelNext = true;
    EXPECT_FALSE(model.RunPendingPass());
    EXPECT_EQ(runner.titles, std::vector<std::string>{CrcDialogModel::kTaskTitle});
    model.SetInvert(true);
    model.Fields().startText = "0x1234";
    model.Changed(CrcChange::Start);
    EXPECT_FALSE(model.PassPending());
    EXPECT_FALSE(model.Results());

    model.Fields().reflectedText = "0xEDB88320";  // the same polynomial, typed again
    model.Changed(CrcChange::Reflected);
    ASSERT_TRUE(model.PassPending());
    EXPECT_TRUE(model.RunPendingPass());
    EXPECT_EQ(model.Results(), expect(0x1234, true));
    model.SetInvert(false);
    EXPECT_FALSE(model.PassPending());
    EXPECT_EQ(model.Results(), expect(0x1234, false));
    EXPECT_EQ(runner.titles.size(), 2u);
}

TEST(CrcDialogModelTest, RangesPastFourGiB)
{
    test::SparseByteSource document(int64_t{6} << 30);
    const int64_t at = 0x160000000;
    document.Plant(at, {'1', '2', '3', '4', '5', '6', '7', '8', '9'});
    CrcDialogModel check(ToolInputBytes(document, at, 9));
    check.Load({});
    const std::string fromZero = check.ResultText(1);
    check.SetInvert(true);
    EXPECT_EQ(check.ResultText(0), "0xCBF43926");

    // Long enough to take the pass over windows.
    const int64_t from = at + 0x100000, length = 0x30007;
    document.Plant(from + length - 9, {'1', '2', '3', '4', '5', '6', '7', '8', '9'});
    CrcDialogModel model(ToolInputBytes(document, from, length));
    model.Load({});
    // From start 0 leading zero bytes leave A's register at 0.
    EXPECT_EQ(model.ResultText(1), fromZero);

    // A selection of more than 4 GiB: its length shows with 64-bit numbers (its pass waits).
    test::ScriptedTaskRunner runner;
    CrcDialogModel large(ToolInputBytes(document, 0x10, 0x100000007), &runner);
    large.Load({});
    EXPECT_EQ(large.LengthText(), "4294967303 / 0x100000007");
}

}  // namespace
}  // namespace qv
