// Commands handed to a running desktop program over its local channel: an in-process
// server over a temporary data folder, the command line run as a function on a thread.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QJsonArray>
#include <QTimer>
#include <QtEndian>
#include <future>

#include "app/cli/commands.h"
#include "app/desktop_requests.h"
#include "app/desktop_server.h"
#include "app/frame_reader.h"
#include "app/settings_state.h"
#include "folders/watched_folder_list.h"
#include "platform/clock.h"
#include "platform/desktop_socket.h"
#include "platform/single_instance.h"
#include "platform/unix_socket.h"
#include "rules/rule_list.h"
#include "support/test_util.h"

namespace vandrel {
namespace {

using test::Cli;
using test::ReadFile;
using test::WriteFile;

const QString kRule = QStringLiteral(
    "Texts<|RU|>All<|RU|>Extension<|CP|>is<|CD|>txt<|RU|>Move to<|AP|>/tmp/x<|AC|>0<|AC|>"
    "<//>date.current<//><|AC|>1<|RU|>0B5E7C2A-1D3F-4A6B-9C8D-7E6F5A4B3C2D");

// Runs f on another thread while this one serves the channel; f's result.
template <typename F>
auto WhileServing(F f) {
    auto done = std::async(std::launch::async, f);
    QTimer wake;
    wake.start(5);
    while (done.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done.get();
}

struct CommandRun {
    int status = -1;
    QString out, err;
};

CommandRun Command(const QString& dataDir, CliCommandFn command, const QStringList& args,
                   int timeoutMs = 5000) {
    CommandRun r;
    QTextStream out(&r.out), err(&r.err);
    CliContext ctx{DataPaths(dataDir), out, err};
    ctx.setHandoverTimeout(timeoutMs);
    r.status = command(ctx, args);
    return r;
}

// A desktop program's side: the lists in memory, the requests and the server.
struct Desktop {
    Cli cli;
    SettingsState state{DataPaths(cli.data), SystemClock::instance()};
    DesktopRequests requests{state};
    DesktopServer server{cli.data, [this](const QJsonObject& r) { return requests.handle(r); }};
    int rulesChanged = 0, foldersChanged = 0;
    Desktop() {
        test::MakeDir(cli.data);
        state.Load();
        QObject::connect(&requests, &DesktopRequests::rulesChanged, [this] { ++rulesChanged; });
        QObject::connect(&requests, &DesktopRequests::foldersChanged, [this] { ++foldersChanged; });
    }
    CommandRun run(CliCommandFn command, const QStringList& args) {
        return WhileServing([&] { return Command(cli.data, command, args); });
    }
};

TEST(DesktopHandover, CommandsReachTheListsAndTheFiles) {
    Desktop d;
    ASSERT_EQ(d.server.start().status, DesktopServer::StartStatus::Listening);
    const QString rulesFile = d.cli.tmp.file("import.txt"), watch = d.cli.folder("watch");
    ASSERT_TRUE(WriteFile(rulesFile, kRule.toUtf8() + "\r\n"));

    CommandRun r = d.run(RunRulesCommand, {"import", rulesFile});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("Import Successfully\n"));
    EXPECT_EQ(d.state.rules().SaveToString(), kRule);
    EXPECT_EQ(ReadFile(d.state.paths().rulesFile()).trimmed(), kRule.toUtf8());
    EXPECT_EQ(d.rulesChanged, 1);
    // Replacing rules the program holds needs a yes, as on the files.
    r = d.run(RunRulesCommand, {"import", rulesFile});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("use --yes")) << r.err.toStdString();

    r = d.run(RunFoldersCommand,
              {"add", watch, "--every", "2", "--rules", kRule.right(36).toLower()});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("1\t" + watch + "\tevery 2 hours\t")) << r.out.toStdString();
    ASSERT_EQ(d.state.folders().folderCount(), 1);
    EXPECT_EQ(d.state.folders().folder(0).folderPath(), watch);
    EXPECT_TRUE(ReadFile(d.state.paths().foldersFile()).contains(watch.toUtf8()));
    EXPECT_EQ(d.foldersChanged, 1);
    r = d.run(RunFoldersCommand, {"add", watch});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("already a watched folder")) << r.err.toStdString();

    r = d.run(RunFoldersCommand, {"remove", watch});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(d.state.folders().folderCount(), 0);
    EXPECT_FALSE(ReadFile(d.state.paths().foldersFile()).contains(watch.toUtf8()));
    EXPECT_EQ(d.foldersChanged, 2);
}

TEST(DesktopHandover, RefusedWhenTheProgramDoesNotAnswer) {
    Cli cli;
    test::MakeDir(cli.data);
    // A desktop program that holds the folder and listens, but is stuck.
    SingleInstance lock(cli.data, QString::fromLatin1(SingleInstance::kDesktopRole));
    ASSERT_TRUE(lock.tryAcquire());
    const QString socket = DesktopSocketPath(cli.data);
    ASSERT_TRUE(RemoveStaleSocket(socket));
    const UnixSocket stuck = UnixSocket::Listen(socket);
    ASSERT_TRUE(stuck.isOpen()) << stuck.error().toStdString();

    const CommandRun r = Command(cli.data, RunFoldersCommand, {"add", cli.folder("watch")}, 300);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("did not take the change")) << r.err.toStdString();
    EXPECT_EQ(r.err.count('\n'), 1);
    EXPECT_FALSE(QFileInfo::exists(DataPaths(cli.data).foldersFile()));

    // The scheduler stays out of a folder the desktop program holds, with its own status.
    const auto daemon = cli.run({"daemon"});
    EXPECT_EQ(daemon.exitCode, 3);
    EXPECT_TRUE(daemon.err.contains("desktop program is running")) << daemon.err.toStdString();
}

TEST(DesktopHandover, BadRequestsAreAnsweredNeverFatal) {
    Desktop d;
    ASSERT_EQ(d.server.start().status, DesktopServer::StartStatus::Listening);
    const auto frame = [](const QByteArray& payload) {
        QByteArray f(4, '\0');
        qToBigEndian<quint32>(quint32(payload.size()), f.data());
        return f + payload;
    };
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"oversized length", QByteArray("\x7f\xff\xff\xff", 4) + "{}"},
        {"not JSON", frame("garbage")},
        {"JSON but no object", frame("[1]")},
        {"no version", frame(R"({"command":"folders-remove","path":"/x"})")},
        {"unknown command", frame(R"({"v":1,"command":"format-disk"})")},
        {"relative folder", frame(R"({"v":1,"command":"folders-add","path":"x","interval":"",)"
                                  R"("at":false,"hour":"","minute":"","rules":[],)"
                                  R"("confirm":false,"disabled":false})")},
    };
    for (const auto& c : cases) {
        const QJsonObject reply = WhileServing([&] {
            UnixSocket s = UnixSocket::Connect(d.server.socketPath());
            if (!s.isOpen() || s.send(c.bytes) != c.bytes.size()) return QJsonObject();
            FrameReader reader(1 << 20);
            while (reader.state() == FrameReader::State::Incomplete && s.waitReadable(2000))
                reader.feed(s.receive(1 << 16).bytes);
            return reader.message();
        });
        EXPECT_NE(reply.value("status").toInt(0), 0) << c.name;
        EXPECT_FALSE(reply.value("err").toArray().isEmpty()) << c.name;
    }
    EXPECT_EQ(d.foldersChanged + d.rulesChanged, 0);
    // Still serving.
    const CommandRun r = d.run(RunFoldersCommand, {"add", d.cli.folder("watch")});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
}

}  // namespace
}  // namespace vandrel
