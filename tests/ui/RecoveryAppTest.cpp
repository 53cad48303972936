// SPDX-License-Identifier: GPL-3.0-or-later
// A stop request in the running editor: with the unsaved edits in the journal the window
// closes without a question and the next start offers them back; when the journal cannot
// be written the user is told why and gets the close question.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "app/HexApp.h"
#include "app/MainFrame.h"
#include "document/HexDoc.h"
#include "recovery/RecoveryFolder.h"
#include "tests/support/FakeDialogService.h"
#include "tests/support/FakePrompt.h"
#include "tests/support/TempDir.h"
#include "view/HexView.h"

namespace qv {
namespace {

class RecoveryAppTest : public ::testing::Test {
protected:
    // The journals go below stateHome, as XDG_STATE_HOME says.
    std::unique_ptr<CHexApp> Start(const std::string& stateHome, const QStringList& arguments)
    {
        ::setenv("XDG_STATE_HOME", stateHome.c_str(), 1);
        auto app = std::make_unique<CHexApp>(AppOverrides{&prompt, &dialogs});
        EXPECT_TRUE(app->Start(QStringList{"quarnival"} + arguments));
        QApplication::processEvents();
        return app;
    }
    static void TypeHex(CHexApp& app, const std::string& digits)
    {
        for (char c : digits) app.View()->HandleChar(static_cast<uint8_t>(c), 1, 0);
    }

    test::FakePrompt prompt;
    test::FakeDialogService dialogs;
    ~RecoveryAppTest() override { ::setenv("XDG_STATE_HOME", savedStateHome.c_str(), 1); }

    test::TempDir dir;
    std::string savedStateHome = std::getenv("XDG_STATE_HOME") ? std::getenv("XDG_STATE_HOME") : "";
};

TEST_F(RecoveryAppTest, StopWithJournalledEditsEndsWithoutQuestionAndTheNextStartOffersThem)
{
    const std::string path = dir.Write("data.bin", std::vector<uint8_t>(64, 0x20));
    {
        auto app = Start(dir.Path(), {QString::fromStdString(path)});
        TypeHex(*app, "C3");
        app->OnStopRequest();
        EXPECT_FALSE(app->Frame()->isVisible());
        EXPECT_TRUE(prompt.shown.empty());
    }
    ASSERT_EQ(ListJournals(dir.Path() + "/quarnival/recovery").size(), 1u);
    EXPECT_EQ(test::TempDir::Read(path)[0], 0x20) << "the file is written only by a save";

    // Abbrechen at start-up: an empty editor, the journal kept for later.
    prompt.answers = {PromptAnswer::Cancel};
    auto later = Start(dir.Path(), {QString::fromStdString(path)});
    EXPECT_EQ(later->Frame()->windowTitle(), "Unbenannt - Quarnival");
    later.reset();
    ASSERT_EQ(ListJournals(dir.Path() + "/quarnival/recovery").size(), 1u);

    prompt.shown.clear();
    prompt.answers = {PromptAnswer::Yes};
    auto next = Start(dir.Path(), {QString::fromStdString(path)});
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text.rfind("Es gibt ungesicherte Änderungen an " + path, 0), 0u);
    EXPECT_EQ(next->View()->GetBuffer(nullptr, nullptr)[0], 0xC3);
    EXPECT_TRUE(next->Document()->HasUnsavedChanges());
    EXPECT_EQ(next->Frame()->windowTitle(), "data.bin - Quarnival");
}

TEST_F(RecoveryAppTest, StopWithoutAWritableJournalAsksAfterSayingWhy)
{
    dir.Write("blocked", "no folder");
    auto app = Start(dir.Path() + "/blocked", {QString::fromStdString(dir.Write("data.bin", "abc"))});
    TypeHex(*app, "41");
    prompt.answers = {PromptAnswer::Ok, PromptAnswer::Cancel};
    app->OnStopRequest();
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_NE(prompt.shown[0].text.find("können nicht für den nächsten Start gesichert werden"), std::string::npos);
    EXPECT_EQ(prompt.shown[1].text.rfind("Änderungen in ", 0), 0u);
    EXPECT_TRUE(app->Frame()->isVisible()) << "cancelled: the editor goes on";
}

}  // namespace
}  // namespace qv
