// SPDX-License-Identifier: GPL-3.0-or-later
// Remote control through the real socket: the editor's answers, the peers it drops, and
// quarnival-cli remote driving a separately started editor.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QProcess>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>

#include "app/HexApp.h"
#include "app/MainFrame.h"
#include "app/RemoteControl.h"
#include "app/RemoteServer.h"
#include "platform/RemoteEndpoint.h"
#include "platform/qt/QtTaskRunner.h"
#include "shell/RemoteMessages.h"
#include "tests/support/FakeDialogService.h"
#include "tests/support/FakePrompt.h"
#include "tests/support/FakeRemoteTarget.h"
#include "tests/support/TempDir.h"
#include "view/AnsiView.h"
#include "view/HexView.h"

namespace qv {
namespace {

// Sends the bytes and lets the event loop run until a reply or the end of the connection.
std::optional<RemoteReply> Exchange(const std::string& socketPath, const std::vector<uint8_t>& bytes,
                                    bool* closed = nullptr, int waitMs = 2000)
{
    RemoteClientSocket socket;
    if (!socket.Connect(socketPath, 1000) || !socket.SendAll(bytes, 1000)) return std::nullopt;
    RemoteFrameDecoder decoder(RemoteFrameDecoder::Kind::Reply);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < waitMs) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        const auto got = socket.Receive(0);
        if (!got) continue;
        if (got->empty()) {
            if (closed) *closed = true;
            return std::nullopt;
        }
        decoder.Feed(got->data(), got->size());
        if (auto reply = decoder.TakeReply()) return reply;
    }
    return std::nullopt;
}

std::optional<RemoteReply> Ask(const std::string& socketPath, const RemoteRequest& request)
{
    return Exchange(socketPath, EncodeRemoteRequest(request));
}

// Runs the event loop until done() holds or two seconds have passed.
template <typename Done>
bool ProcessUntil(Done done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 2000) QApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// A modal dialog with its own event loop, closed after ms.
void RunDialog(int ms)
{
    QDialog dialog;
    QTimer::singleShot(ms, &dialog, &QDialog::accept);
    dialog.exec();
}

// Runs the event loop until the client has a whole reply, or two seconds have passed.
std::optional<RemoteReply> AwaitReply(RemoteClientSocket& client)
{
    RemoteFrameDecoder decoder(RemoteFrameDecoder::Kind::Reply);
    std::optional<RemoteReply> reply;
    ProcessUntil([&] {
        if (auto got = client.Receive(0); got && !got->empty()) {
            decoder.Feed(got->data(), got->size());
            reply = decoder.TakeReply();
        }
        return reply.has_value();
    });
    return reply;
}

class RemoteControlTest : public ::testing::Test {
protected:
    RemoteControlTest()
    {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR")) saved = old;
        ::setenv("XDG_RUNTIME_DIR", dir.Path().c_str(), 1);
    }
    ~RemoteControlTest() override
    {
        if (saved)
            ::setenv("XDG_RUNTIME_DIR", saved->c_str(), 1);
        else
            ::unsetenv("XDG_RUNTIME_DIR");
    }

    std::string File()
    {
        std::vector<uint8_t> bytes(0x400);
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i);
        return dir.Write("data.bin", bytes);
    }

    test::TempDir dir;
    std::optional<std::string> saved;
    test::FakePrompt prompt;
    test::FakeDialogService dialogs;
};

TEST_F(RemoteControlTest, TheEditorAnswersPositionsSelectionsAndCommandsOverItsSocket)
{
    const std::string path = File();
    CHexApp app(AppOverrides{&prompt, &dialogs});
    ASSERT_TRUE(app.Start({"quarnival", "/J:0x10:4", QString::fromStdString(path)}));
    const std::string socket = app.Remote()->Server().SocketPath().toStdString();
    CHexView& view = *app.View();

    EXPECT_EQ(Ask(socket, {kViewControlMessage, 5, 0, {}})->result, 0x10);
    EXPECT_EQ(Ask(socket, {kViewControlMessage, 1, 0, {}})->result, 0x10);
    int64_t length = 0;
    view.GetSelection(false, &length);
    EXPECT_EQ(length, 4);
    EXPECT_EQ(Ask(socket, {kRemoteControlMessage, 2, 0, {}})->text, path);

    // SelectRange selects 1 to 255 bytes; 0 and 256 only move the cursor.
    Ask(socket, {kSelectRangeMessage, 0x20, 255u << 16, {}});
    view.GetSelection(false, &length);
    EXPECT_EQ(length, 255);
    for (uint32_t only : {0u, 256u}) {
        Ask(socket, {kSelectRangeMessage, 0x30, only << 16, {}});
        EXPECT_EQ(view.CursorOffset(), 0x30) << only;
        EXPECT_FALSE(view.HasSelection()) << only;
    }
    // Commands run as the user's would, and only when enabled: nothing to undo yet.
    EXPECT_EQ(Ask(socket, {kRemoteCommandMessage, CmdUndo, 0, {}})->result, 0);
    EXPECT_EQ(Ask(socket, {kRemoteCommandMessage, 59393, 0, {}})->result, 1);  // status bar off
    EXPECT_FALSE(app.Frame()->statusBar()->isVisible());
    EXPECT_EQ(Ask(socket, {kRemoteCommandMessage, 4711, 0, {}})->result, 0);
}

TEST_F(RemoteControlTest, CloseOfAChangedDocumentAsksFirst)
{
    CHexApp app(AppOverrides{&prompt, &dialogs});
    ASSERT_TRUE(app.Start({"quarnival", QString::fromStdString(File())}));
    const std::string socket = app.Remote()->Server().SocketPath().toStdString();
    app.View()->SetModified(true);
    prompt.answers = {PromptAnswer::Cancel};
    EXPECT_EQ(Ask(socket, {kRemoteControlMessage, 0, 0, {}})->result, 1);
    QApplication::processEvents();
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].text.find("speichern?"), std::string::npos);
    EXPECT_TRUE(app.Frame()->isVisible());
    EXPECT_TRUE(app.View()->IsModified());
}

class RemoteServerTest : public RemoteControlTest {
protected:
    RemoteServerTest()
    {
        EXPECT_TRUE(server.Listen());
        socket = server.SocketPath().toStdString();
    }
    test::FakeRemoteTarget target;
    RemoteMessages messages{target};
    RemoteServer server{messages};
    std::string socket;
};

TEST_F(RemoteServerTest, SocketIsPrivateAndRepliesFollowAStreamOfRequests)
{
    struct stat info;
    ASSERT_EQ(::stat(socket.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    target.viewResult = 7;
    std::vector<uint8_t> both = EncodeRemoteRequest({kViewControlMessage, 8, 0, {}});
    const auto second = EncodeRemoteRequest({kRemoteControlMessage, 2, 0, {}});
    both.insert(both.end(), second.begin(), second.end());
    target.path = "/x";

    RemoteClientSocket client;
    ASSERT_TRUE(client.Connect(socket, 1000));
    ASSERT_TRUE(client.SendAll(both, 1000));
    RemoteFrameDecoder decoder(RemoteFrameDecoder::Kind::Reply);
    std::vector<RemoteReply> replies;
    for (int i = 0; i < 200 && replies.size() < 2; ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        if (auto got = client.Receive(0); got && !got->empty()) {
            for (size_t at = 0; at < got->size();) {
                at += decoder.Feed(got->data() + at, got->size() - at);
                if (auto reply = decoder.TakeReply()) replies.push_back(*reply);
            }
        }
    }
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0].result, 7);
    EXPECT_EQ(replies[1].text, "/x");
}

TEST_F(RemoteServerTest, ARuntimeFolderAsLongAsASocketAddressAllowsStillListens)
{
    std::string runtime = dir.Path() + "/";
    runtime += std::string(89 - runtime.size(), 'r');
    ::mkdir(runtime.c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    RemoteServer deep(messages);
    std::string error;
    ASSERT_TRUE(deep.Listen(&error)) << error;
    EXPECT_EQ(deep.SocketPath().toStdString().rfind(runtime, 0), 0u);
    target.path = "/y";
    EXPECT_EQ(Ask(deep.SocketPath().toStdString(), {kRemoteControlMessage, 2, 0, {}})->text, "/y");
}

TEST_F(RemoteServerTest, GarbledFramesAndStrangersAreDroppedWithoutEffect)
{
    bool closed = false;
    EXPECT_FALSE(Exchange(socket, std::vector<uint8_t>(64, 0xEE), &closed));
    EXPECT_TRUE(closed);
    for (uint32_t version : {kRemoteProtocolVersion1, kRemoteProtocolVersion}) {
        std::vector<uint8_t> oversized = EncodeRemoteRequest({kRemoteControlMessage, 0, 0, {}, version});
        const size_t length = oversized.size() - 4;
        oversized[length] = 0xFF, oversized[length + 1] = 0xFF, oversized[length + 2] = 0x01;  // 128 KiB announced
        closed = false;
        EXPECT_FALSE(Exchange(socket, oversized, &closed)) << version;
        EXPECT_TRUE(closed) << version;
    }

    server.SetOwnUid(::geteuid() + 1);  // every peer now counts as another user
    closed = false;
    EXPECT_FALSE(Exchange(socket, EncodeRemoteRequest({kRemoteControlMessage, 0, 0, {}}), &closed));
    EXPECT_TRUE(closed);
    EXPECT_TRUE(target.posted.empty());

    server.SetOwnUid(::geteuid());
    EXPECT_EQ(Ask(socket, {kRemoteControlMessage, 0, 0, {}})->result, 1);
    EXPECT_EQ(target.posted.size(), 1u);
}

TEST_F(RemoteServerTest, SilentPeersTimeOut)
{
    server.SetIdleTimeout(150);
    RemoteClientSocket silent, half;
    ASSERT_TRUE(silent.Connect(socket, 1000));
    ASSERT_TRUE(half.Connect(socket, 1000));
    ASSERT_TRUE(half.SendAll(std::vector<uint8_t>(10, 0x51), 1000));  // half a header, then nothing
    QElapsedTimer clock;
    clock.start();
    while (server.PeerCount() < 2 && clock.elapsed() < 100) QApplication::processEvents();
    ASSERT_EQ(server.PeerCount(), 2);
    clock.start();
    while (server.PeerCount() > 0 && clock.elapsed() < 3000) QApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(server.PeerCount(), 0);
    EXPECT_GE(clock.elapsed(), 140);  // not before their time
    for (RemoteClientSocket* client : {&silent, &half}) {
        const auto gone = client->Receive(0);
        ASSERT_TRUE(gone);
        EXPECT_TRUE(gone->empty());
    }
}

TEST_F(RemoteServerTest, APeerThatLeavesWhileItsRequestIsInHandIsFreedOnlyAfterwards)
{
    // Gone before its reply is written (the write finds the end closed), and gone while its
    // request has a dialog open (the close is seen inside the dialog's event loop).
    for (bool dialog : {false, true}) {
        auto client = std::make_unique<RemoteClientSocket>();
        ASSERT_TRUE(client->Connect(socket, 1000));
        ASSERT_TRUE(ProcessUntil([&] { return server.PeerCount() == 1; }));
        target.whileOpening = [&] {
            client.reset();
            if (dialog) RunDialog(200);
        };
        const size_t opened = target.opened.size();
        ASSERT_TRUE(client->SendAll(EncodeRemoteRequest({kCopyDataMessage, 0, kCopyDataOpenFile, {"/x\0", 3}}), 1000));
        EXPECT_TRUE(ProcessUntil([&] { return target.opened.size() > opened && server.PeerCount() == 0; })) << dialog;
    }
    target.whileOpening = nullptr;
    target.path = "/x";
    EXPECT_EQ(Ask(socket, {kRemoteControlMessage, 2, 0, {}})->text, "/x");
}

TEST_F(RemoteServerTest, RequestsWaitWhileTheUserAnswersADialogOrWatchesLongWork)
{
    server.SetIdleTimeout(100);  // the wait is the editor's: the peer must not time out meanwhile
    QtTaskRunner runner;
    runner.SetShowAfter(0);
    const std::function<void()> waits[] = {
        [] { RunDialog(400); },
        [&] {
            runner.Run("Suchen", [](TaskProgress& progress) {
                for (int i = 0; i < 40 && !progress.Cancelled(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
            });
        },
    };
    for (const auto& wait : waits) {
        target.posted.clear();
        RemoteClientSocket client;
        ASSERT_TRUE(client.Connect(socket, 1000));
        ASSERT_TRUE(ProcessUntil([&] { return server.PeerCount() == 1; }));
        bool servedInside = false;
        QTimer::singleShot(0, [&] { client.SendAll(EncodeRemoteRequest({kRemoteControlMessage, 0, 0, {}}), 1000); });
        QTimer::singleShot(300, [&] { servedInside = !target.posted.empty(); });
        wait();
        EXPECT_FALSE(servedInside);
        const auto reply = AwaitReply(client);
        ASSERT_TRUE(reply);
        EXPECT_EQ(reply->result, 1);
        EXPECT_EQ(target.posted.size(), 1u);
    }
}

TEST_F(RemoteServerTest, AFloodIsCappedWithoutPushingOutAClientThatCameFirst)
{
    server.SetIdleTimeout(1500);
    target.viewResult = 3;
    const std::vector<uint8_t> request = EncodeRemoteRequest({kViewControlMessage, 8, 0, {}});
    RemoteClientSocket slow;
    ASSERT_TRUE(slow.Connect(socket, 1000));
    ASSERT_TRUE(slow.SendAll({request.begin(), request.begin() + 10}, 1000));
    std::vector<int> flood;
    for (int i = 0; i < 300; ++i) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, socket.c_str(), sizeof address.sun_path - 1);
        ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        flood.push_back(fd);
        if (i % 20 == 0) QApplication::processEvents();
    }
    int most = 0;
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        most = std::max(most, server.PeerCount());
    }
    EXPECT_EQ(most, RemoteServer::kMaxPeers);

    // The slow client keeps its place and gets its answer.
    ASSERT_TRUE(slow.SendAll({request.begin() + 10, request.end()}, 1000));
    const auto reply = AwaitReply(slow);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->result, 3);

    // A newcomer finds every place taken and is closed at once, until the idle ones time out.
    bool closed = false;
    EXPECT_FALSE(Exchange(socket, request, &closed, 500));
    EXPECT_TRUE(closed);
    ProcessUntil([&] { return server.PeerCount() <= 1; });
    const auto later = Exchange(socket, request);
    ASSERT_TRUE(later);
    EXPECT_EQ(later->result, 3);
    for (int fd : flood) ::close(fd);
}

// quarnival-cli remote against an editor started as its own program.
class RemoteCliTest : public RemoteControlTest {
protected:
    void SetUp() override
    {
        const char* cli = std::getenv("QV_CLI");
        if (!cli) GTEST_SKIP() << "QV_CLI names no quarnival-cli";
        cliPath = cli;
        editorPath = QString::fromStdString((std::filesystem::path(cli).parent_path() / "quarnival").string());
        if (!std::filesystem::exists(editorPath.toStdString())) GTEST_SKIP() << "no editor beside the CLI";
    }
    void TearDown() override
    {
        if (editor.state() != QProcess::NotRunning) {
            editor.kill();
            editor.waitForFinished(3000);
        }
    }

    bool StartEditor(const QStringList& arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString(dir.File("config")));
        editor.setProcessEnvironment(environment);
        editor.start(editorPath, arguments);
        if (!editor.waitForStarted(5000)) return false;
        const std::string socket = dir.Path() + "/quarnival/" + std::to_string(editor.processId());
        for (int i = 0; i < 300; ++i) {  // a sanitizer build starts slowly
            if (std::filesystem::exists(socket)) return true;
            QThread::msleep(50);
        }
        return false;
    }

    struct Run {
        int exitCode;
        std::string out, err;
    };
    Run Cli(const QStringList& arguments)
    {
        QProcess process;
        process.start(cliPath, QStringList{"remote"} + arguments);
        process.waitForFinished(15000);
        return {process.exitCode(), process.readAllStandardOutput().toStdString(),
                process.readAllStandardError().toStdString()};
    }

    QString cliPath, editorPath;
    QProcess editor;
};

TEST_F(RemoteCliTest, AScriptOpensPlacesReadsBackRunsACommandAndCloses)
{
    const std::string first = File();
    const std::string second = dir.Write("second.bin", std::string(64, 'x'));
    ASSERT_TRUE(StartEditor({"/J:0x10:4", QString::fromStdString(first)}));
    const QString pid = QString::number(editor.processId());

    EXPECT_EQ(Cli({"list"}).out, pid.toStdString() + "\t" + first + "\n");
    EXPECT_EQ(Cli({"view", "5"}).out, "16\n");
    EXPECT_EQ(Cli({"--pid", pid, "view", "1"}).out, "16\n");
    EXPECT_EQ(Cli({"open", QString::fromStdString(second)}).exitCode, 0);
    EXPECT_EQ(Cli({"path"}).out, second + "\n");
    EXPECT_EQ(Cli({"compare", QString::fromStdString(first)}).out, "0\n");
    // Names outside Windows-1252 travel whole: "Ω-Grüße.bin" is not "Ж-Grüße.bin".
    const std::string foreign = dir.Write("\xCE\xA9-Gr\xC3\xBC\xC3\x9F" "e.bin", std::string(8, 'y'));
    const std::string other = dir.Write("\xD0\x96-Gr\xC3\xBC\xC3\x9F" "e.bin", std::string(8, 'z'));
    EXPECT_EQ(Cli({"open", QString::fromStdString(foreign)}).exitCode, 0);
    EXPECT_EQ(Cli({"list"}).out, pid.toStdString() + "\t" + foreign + "\n");
    EXPECT_EQ(Cli({"compare", QString::fromStdString(other)}).out, "0\n");
    EXPECT_EQ(Cli({"compare", QString::fromStdString(foreign)}).out, "1\n");
    EXPECT_EQ(Cli({"open", QString::fromStdString(second)}).exitCode, 0);
    EXPECT_EQ(Cli({"select", "0x8", "4"}).exitCode, 0);
    EXPECT_EQ(Cli({"view", "5"}).out, "8\n");
    EXPECT_EQ(Cli({"view", "0", "0x20"}).out, "1\n");
    EXPECT_EQ(Cli({"view", "4", "0x24"}).out, "1\n");
    EXPECT_EQ(Cli({"view", "1"}).out, "32\n");
    EXPECT_EQ(Cli({"line", "1", "0", "0"}).out, Cli({"line", "5", "0", "0"}).out);
    EXPECT_EQ(Cli({"send-text", "Grüße", "--utf16"}).exitCode, 0);
    EXPECT_EQ(Cli({"text"}).out, "Grüße\n");
    EXPECT_EQ(Cli({"command", "57643"}).exitCode, 1);  // nothing to undo
    EXPECT_EQ(Cli({"command", "59393"}).exitCode, 0);

    const Run wrong = Cli({"view"});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_FALSE(wrong.err.empty());
    EXPECT_EQ(Cli({"--pid", "1", "path"}).exitCode, 1);

    EXPECT_EQ(Cli({"close"}).exitCode, 0);
    EXPECT_TRUE(editor.waitForFinished(5000));
    EXPECT_EQ(Cli({"list"}).out, "");
    EXPECT_EQ(Cli({"path"}).exitCode, 2);  // no editor runs
}

}  // namespace
}  // namespace qv
