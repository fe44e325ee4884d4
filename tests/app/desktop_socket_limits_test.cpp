// The desktop program's channel on a plain Unix socket: a socket file is only taken over
// when nobody answers on it, silent or surplus peers cannot wear the server out, a peer
// that leaves before its reply cannot end the program (SIGPIPE), and a reply larger than
// the socket's buffer arrives whole.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QTest>
#include <future>

#include "app/desktop_client.h"
#include "app/desktop_server.h"
#include "app/frame_reader.h"
#include "platform/desktop_socket.h"
#include "platform/unix_socket.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

TEST(DesktopSocket, OnlyADeadSocketIsTakenOver) {
    test::TempDir dir;
    UnixSocket live = UnixSocket::Listen(dir.file("live.sock"));
    UnixSocket::Listen(dir.file("dead.sock"));  // closed at once: its file stays behind
    ASSERT_TRUE(live.isOpen() && test::WriteFile(dir.file("file.sock"), "data"));
    const struct {
        const char* name;
        bool removed;  // RemoveStaleSocket's answer; the file is gone exactly then
    } cases[] = {
        {"missing.sock", true}, {"dead.sock", true}, {"live.sock", false}, {"file.sock", false}};
    for (const auto& c : cases) {
        QString why;
        EXPECT_EQ(RemoveStaleSocket(dir.file(c.name), &why), c.removed) << c.name;
        EXPECT_EQ(QFileInfo::exists(dir.file(c.name)), !c.removed) << c.name;
        EXPECT_EQ(why.isEmpty(), c.removed) << c.name << ": " << why.toStdString();
    }
}

struct Channel {
    test::TempDir dir;
    QJsonObject reply{{"status", 0}, {"out", QJsonArray{"done"}}, {"err", QJsonArray()}};
    DesktopServer server{dir.path(), [this](const QJsonObject&) { return reply; }};
    Channel() { EXPECT_EQ(server.start().status, DesktopServer::StartStatus::Listening); }
    // One request through the command line's own client, served on this thread.
    DesktopHandover send() {
        auto done = std::async(std::launch::async, [this] {
            return SendToDesktop(dir.path(), QJsonObject{{"v", 1}}, 5000);
        });
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return done.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
        return done.get();
    }
};

bool IsClosed(UnixSocket& s) { return s.receive(16).io == UnixSocket::Io::Closed; }

TEST(DesktopSocket, SilentAndSurplusPeersAreDropped) {
    Channel c;
    c.server.setPeerTimeout(300);
    std::vector<UnixSocket> peers;
    for (int i = 0; i < 9; ++i) peers.push_back(UnixSocket::Connect(c.server.socketPath()));
    // The ninth is one too many and is closed at once; the first eight wait their turn.
    ASSERT_TRUE(QTest::qWaitFor([&] { return IsClosed(peers[8]); }, 2000));
    for (int i = 0; i < 8; ++i) EXPECT_FALSE(IsClosed(peers[i])) << "peer " << i;
    // Silent ones are dropped after the time-out, which makes room again.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return std::all_of(peers.begin(), peers.end() - 1, IsClosed); }, 5000));
    EXPECT_EQ(c.send().status, DesktopHandover::Status::Answered);
}

TEST(DesktopSocket, GonePeersAndLargeRepliesAreServed) {
    Channel c;
    {
        UnixSocket leaving = UnixSocket::Connect(c.server.socketPath());
        ASSERT_GT(leaving.send(FrameReader::Encode(QJsonObject{{"v", 1}})), 0);
    }  // closed before the reply is written: the write fails, the program goes on
    QJsonArray lines;
    for (int i = 0; i < 20000; ++i) lines.append(QString(50, QChar('a' + i % 26)));
    c.reply["out"] = lines;  // about 1 MiB, several times a socket's buffer
    const DesktopHandover h = c.send();
    ASSERT_EQ(h.status, DesktopHandover::Status::Answered) << h.problem.toStdString();
    EXPECT_EQ(h.reply.value("out").toArray(), lines);
}

}  // namespace
}  // namespace vandrel
