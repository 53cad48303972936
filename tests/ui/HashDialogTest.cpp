// SPDX-License-Identifier: GPL-3.0-or-later
// "Hashwerte": the command over the selection or the whole document, and the dialog's
// selectable fields and "Alle kopieren".
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "analysis/HashTool.h"
#include "app/HexApp.h"
#include "app/MainFrame.h"
#include "platform/qt/DialogRegistry.h"
#include "tests/support/FakeDialogService.h"
#include "tests/support/FakePrompt.h"
#include "tests/support/TempDir.h"
#include "view/HexView.h"

namespace qv {
namespace {

// SHA-256 of "abc" and of "bc", as sha256sum gives them.
constexpr const char* kSha256Abc = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
constexpr const char* kSha256Bc = "1e0bbd6c686ba050b8eb03ffeedc64fdc9d80947fce821abbe5d6dc8d252c5ac";

TEST(HashCommand, HashesTheSelectionOrTheWholeDocument)
{
    test::FakePrompt prompt;
    test::FakeDialogService dialogs;
    test::TempDir dir;
    const std::string file = dir.Write("abc.bin", std::string("abc"));
    CHexApp app(AppOverrides{&prompt, &dialogs});
    ASSERT_TRUE(app.Start(QStringList{"quarnival", QString::fromStdString(file)}));
    std::vector<HashDialogModel> shown;
    auto record = [&](DialogModel& model) {
        shown.push_back(static_cast<HashDialogModel&>(model));
        return true;
    };
    dialogs.steps = {record, record};
    app.Frame()->ExecuteCommand(32905);
    app.View()->SetCursorOffset(1, false);
    app.View()->SelectTo(3, false);
    app.Frame()->ExecuteCommand(32905);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].rangeText, "Ganzes Dokument (3 Bytes)");
    EXPECT_EQ(shown[0].digests[static_cast<size_t>(HashAlgorithm::Sha256)], kSha256Abc);
    EXPECT_EQ(shown[0].digests[static_cast<size_t>(HashAlgorithm::Md5)], "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(shown[1].rangeText, "Markierung 0x1 bis 0x2 (2 Bytes)");
    EXPECT_EQ(shown[1].digests[static_cast<size_t>(HashAlgorithm::Sha256)], kSha256Bc);
}

TEST(HashDialog, ShowsEveryDigestSelectableAndCopiesThemAll)
{
    HashDialogModel model;
    model.rangeText = "Ganzes Dokument (3 Bytes)";
    for (size_t i = 0; i < kHashAlgorithmCount; ++i) model.digests[i] = std::string(8 + i, static_cast<char>('a' + i));
    model.digests[static_cast<size_t>(HashAlgorithm::Sha256)] = kSha256Bc;
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "Hashwerte");
        auto* sha256 = dialog->findChild<QLineEdit*>("sha256");
        ASSERT_NE(sha256, nullptr);
        EXPECT_EQ(sha256->text(), kSha256Bc);
        EXPECT_TRUE(sha256->isReadOnly());
        sha256->selectAll();
        EXPECT_EQ(sha256->selectedText(), kSha256Bc);
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            if (button->text() == "Alle kopieren") button->click();
        dialog->accept();
    });
    EXPECT_TRUE(RegisteredDialogs().at("Hashes")(model, nullptr));
    const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), static_cast<int>(kHashAlgorithmCount));
    EXPECT_EQ(lines[0], "MD5: aaaaaaaa");
    EXPECT_EQ(lines[3], QString("SHA-256: ") + kSha256Bc);
    EXPECT_EQ(lines[7], "BLAKE2b-512: hhhhhhhhhhhhhhh");
}

}  // namespace
}  // namespace qv
