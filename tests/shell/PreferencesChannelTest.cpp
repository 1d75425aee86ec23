// SPDX-License-Identifier: MIT
// `plovi --preferences` reaching the running aquarium through its socket.
#include "app/PreferencesChannel.h"
#include "tests/support/TestEnvironment.h"

#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class PreferencesChannelTest : public ::testing::Test {
protected:
    TempDir m_runtime;
    ScopedEnv m_xdg{"XDG_RUNTIME_DIR", m_runtime.Path().c_str()};

    // Sends raw bytes as another program would, and hangs up.
    static void Send(const QByteArray& bytes)
    {
        QLocalSocket socket;
        socket.connectToServer(QString::fromStdString(PreferencesChannel::SocketPath()));
        ASSERT_TRUE(socket.waitForConnected(1000));
        socket.write(bytes);
        ASSERT_TRUE(socket.waitForBytesWritten(1000));
    }
};

}  // namespace

// The aquarium listens before its window shows and serves once its dialog is
// wired: requests from that time wait, and each is taken once, also when the
// asking command has ended long before.
TEST_F(PreferencesChannelTest, RequestsBeforeServingWaitAndAreEachTakenOnce)
{
    PreferencesChannel channel;
    ASSERT_TRUE(channel.Listen());
    QSignalSpy requests(&channel, &PreferencesChannel::preferencesRequested);
    EXPECT_TRUE(PreferencesChannel::AskRunningAquarium(50));
    EXPECT_TRUE(PreferencesChannel::AskRunningAquarium(50));
    QTest::qWait(200);
    EXPECT_EQ(requests.count(), 0) << "served before Serve()";

    channel.Serve();
    EXPECT_TRUE(QTest::qWaitFor([&] { return requests.count() == 2; }, 3000)) << requests.count();
    // And one while serving.
    EXPECT_TRUE(PreferencesChannel::AskRunningAquarium(50));
    EXPECT_TRUE(QTest::qWaitFor([&] { return requests.count() == 3; }, 3000)) << requests.count();
    QTest::qWait(200);
    EXPECT_EQ(requests.count(), 3);
}

// Anything but the one request is dropped, and the channel still answers
// the next real one; with no aquarium listening, the command is told so.
TEST_F(PreferencesChannelTest, OnlyTheRequestCountsAndNoListenerIsNoAnswer)
{
    EXPECT_FALSE(PreferencesChannel::AskRunningAquarium(50)) << "no aquarium runs yet";
    {
        PreferencesChannel channel;
        ASSERT_TRUE(channel.Listen());
        channel.Serve();
        QSignalSpy requests(&channel, &PreferencesChannel::preferencesRequested);
        Send("preferences\nmore than the request\n");
        Send("settings!!!\n");
        Send(QByteArray(4096, 'p'));
        Send("prefer");
        QTest::qWait(300);
        EXPECT_EQ(requests.count(), 0);
        Send("preferences\n");
        EXPECT_TRUE(QTest::qWaitFor([&] { return requests.count() == 1; }, 3000));
    }
    // The socket went with the aquarium that made it.
    EXPECT_FALSE(PreferencesChannel::AskRunningAquarium(50));
}
