// SPDX-License-Identifier: GPL-3.0-or-later
// The socket folder of remote control, the listing of running editors, and the check that
// only the user's own processes may talk to an editor.
#include "platform/RemoteEndpoint.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "tests/support/TempDir.h"

namespace qv {
namespace {

class RemoteEndpointTest : public ::testing::Test {
protected:
    RemoteEndpointTest()
    {
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        if (old) saved = old;
        ::setenv("XDG_RUNTIME_DIR", dir.Path().c_str(), 1);
    }
    ~RemoteEndpointTest() override
    {
        for (int fd : fds) ::close(fd);
        if (saved)
            ::setenv("XDG_RUNTIME_DIR", saved->c_str(), 1);
        else
            ::unsetenv("XDG_RUNTIME_DIR");
    }

    // A socket file at path; listening or left behind by a process that is gone.
    void MakeSocket(const std::string& path, bool listening)
    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        if (listening) {
            ::listen(fd, 4);
            fds.push_back(fd);
        } else {
            ::close(fd);
        }
    }

    test::TempDir dir;
    std::optional<std::string> saved;
    std::vector<int> fds;
};

TEST_F(RemoteEndpointTest, FolderIsMadePrivateAndRefusedWhenOthersMayEnterIt)
{
    std::string error;
    EXPECT_FALSE(RemoteSocketFolder(false, &error));
    const auto folder = RemoteSocketFolder(true, &error);
    ASSERT_TRUE(folder) << error;
    EXPECT_EQ(*folder, dir.Path() + "/quarnival");
    struct stat info;
    ASSERT_EQ(::stat(folder->c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    ::chmod(folder->c_str(), 0770);
    EXPECT_FALSE(RemoteSocketFolder(true, &error));
    EXPECT_NE(error.find("nicht allein diesem Benutzer"), std::string::npos);
    // A link in its place is refused too, even to a private folder.
    ::rmdir(folder->c_str());
    ::mkdir((dir.Path() + "/elsewhere").c_str(), 0700);
    ::symlink((dir.Path() + "/elsewhere").c_str(), folder->c_str());
    EXPECT_FALSE(RemoteSocketFolder(true));

    const std::string fallback = "/tmp/quarnival-" + std::to_string(::geteuid());
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(RemoteSocketFolder(true), fallback);

    // A runtime folder is used as long as the socket of any process id fits an address.
    auto runtimeOfLength = [&](size_t length) {
        std::string runtime = dir.Path() + "/";
        runtime += std::string(length - runtime.size(), 'r');
        ::mkdir(runtime.c_str(), 0700);
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        return runtime;
    };
    const std::string longest = runtimeOfLength(89);
    EXPECT_EQ(RemoteSocketFolder(true), longest + "/quarnival");
    EXPECT_LT(RemoteSocketPath(longest + "/quarnival", 4194304).size(), sizeof(sockaddr_un::sun_path));
    runtimeOfLength(90);
    EXPECT_EQ(RemoteSocketFolder(true), fallback);
}

TEST_F(RemoteEndpointTest, StaleSocketsAreRemovedAndNotListed)
{
    const std::string folder = *RemoteSocketFolder(true);
    const std::string own = RemoteSocketPath(folder, ::getpid());
    MakeSocket(own, true);
    // A process id that cannot exist, and our own id with nobody listening in a copy.
    const std::string dead = folder + "/2147483000";
    MakeSocket(dead, false);
    const std::string parent = RemoteSocketPath(folder, ::getppid());
    MakeSocket(parent, false);
    dir.Write("quarnival/notes", std::string("x"));

    const auto endpoints = ListRemoteEndpoints(folder);
    ASSERT_EQ(endpoints.size(), 1u);
    EXPECT_EQ(endpoints[0].pid, ::getpid());
    EXPECT_EQ(endpoints[0].path, own);
    EXPECT_NE(::access(dead.c_str(), F_OK), 0);
    EXPECT_NE(::access(parent.c_str(), F_OK), 0);
    EXPECT_EQ(::access((folder + "/notes").c_str(), F_OK), 0);  // not a socket: left alone
}

TEST_F(RemoteEndpointTest, ConnectingToAListenerWithAFullBacklogGivesUpInTime)
{
    const std::string path = *RemoteSocketFolder(true) + "/4711";
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    fds.push_back(listener);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 0), 0);  // nobody accepts, as in a stopped editor
    std::vector<std::unique_ptr<RemoteClientSocket>> waiting;
    for (int i = 0; i < 2; ++i) {
        waiting.push_back(std::make_unique<RemoteClientSocket>());
        waiting.back()->Connect(path, 100);
    }
    RemoteClientSocket late;
    EXPECT_FALSE(late.Connect(path, 100));
    const int accepted = ::accept(listener, nullptr, nullptr);
    ASSERT_GE(accepted, 0);
    fds.push_back(accepted);
    EXPECT_TRUE(RemoteClientSocket().Connect(path, 1000));
}

TEST_F(RemoteEndpointTest, OnlyPeersOfTheSameUserMayConnect)
{
    int pair[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    fds = {pair[0], pair[1]};
    ASSERT_TRUE(PeerUid(pair[0]));
    EXPECT_EQ(*PeerUid(pair[0]), ::geteuid());
    EXPECT_TRUE(PeerMayConnect(pair[0], ::geteuid()));
    EXPECT_FALSE(PeerMayConnect(pair[0], ::geteuid() + 1));  // as if another user had connected
    EXPECT_FALSE(PeerMayConnect(-1, ::geteuid()));           // no credentials, no entry
}

}  // namespace
}  // namespace qv
