// Open/print, run and add-path actions: what is started (and with which arguments),
// what is written, what is logged, and what happens when the outside world refuses.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include "action_test_env.h"
#include "actions/action_add_to.h"
#include "actions/action_run.h"
#include "actions/action_shell.h"
#include "rules/rule_text.h"

namespace vandrel {
namespace {

using test::ActionEnv;
using test::ReadFile;
using test::RecordingPrompt;
using test::WriteFile;

QString Q(const char* s) { return QString::fromUtf8(s); }
QString FileParams(const QString& p) { return MakeParamList(Q("file"), p); }
QString FolderParams(const QString& p) { return MakeParamList(Q("folder"), p); }

struct Launch {
    QString program;
    QStringList args;
};

ProcessLauncher Recorder(std::vector<Launch>& out, bool result = true) {
    return [&out, result](const QString& program, const QStringList& args) {
        out.push_back({program, args});
        return result;
    };
}

TEST(ShellAction, OpenPrintAndConfirmation) {
    ActionEnv env;
    const QString file = env.path(Q("doc one.pdf"));
    const QString folder = env.dir.path();
    ASSERT_TRUE(WriteFile(file, "%PDF"));
    RecordingPrompt no(false), yes(true);
    // verb, confirmation, prompt, item -> what is started (nothing: empty program)
    struct Row {
        const char* verb;
        bool confirm;
        RecordingPrompt* prompt;
        QString params;
        const char* program;
        QStringList args;
    };
    const Row rows[] = {
        {"open", false, nullptr, FileParams(file), "xdg-open", {file}},
        // A folder opens in the file manager the same way; printing one does nothing.
        {"open", false, nullptr, FolderParams(folder), "xdg-open", {folder}},
        {"print", false, nullptr, FolderParams(folder), "", {}},
        {"print", false, nullptr, FileParams(file), "lp", {Q("--"), file}},
        // Confirmation on: no prompt and a "no" both skip the opening, but log the verb.
        {"open", true, nullptr, FileParams(file), "", {}},
        {"open", true, &no, FileParams(file), "", {}},
        {"open", true, &yes, FileParams(file), "xdg-open", {file}},
    };
    for (const Row& r : rows) {
        env.ctx.prompt = r.prompt;
        std::vector<Launch> launches;
        ActionShell shell(env.ctx);
        shell.shellOP = Q(r.verb);
        shell.LoadFromString(Q(r.confirm ? "1" : "0"));
        shell.setLauncher(Recorder(launches));
        EXPECT_EQ(shell.TakeAction(r.params), r.params);
        // Appended piece by piece: GCC 12 at -O3 warns falsely on the concatenation.
        std::string what = r.verb;
        what += ' ';
        what += r.params.toStdString();
        ASSERT_EQ(launches.size(), *r.program ? 1u : 0u) << what;
        if (*r.program) {
            EXPECT_EQ(launches[0].program, Q(r.program)) << what;
            EXPECT_EQ(launches[0].args, r.args) << what;
        }
    }
    ASSERT_EQ(no.questions.size(), 1u);
    EXPECT_EQ(no.questions[0], Q("Confirm: Do you want to open ") + file);
    const auto rows2 = env.commitAndRead();
    EXPECT_EQ(rows2.size(), 7u);  // declined ones and the printed folder too
    EXPECT_EQ(std::count_if(rows2.begin(), rows2.end(),
                            [](const LogRow& r) { return r.actionName == Q("print"); }),
              2);

    // An opener that cannot start is reported, not logged.
    env.ctx.prompt = &yes;
    std::vector<Launch> launches;
    ActionShell open(env.ctx);
    open.setLauncher(Recorder(launches, false));
    EXPECT_EQ(open.TakeAction(FileParams(file)), FileParams(file));
    EXPECT_EQ(yes.failures.size(), 1u);
    EXPECT_EQ(env.commitAndRead().size(), 7u);
}

// Waits for the argument dump of the helper program and returns its arguments.
std::optional<QStringList> WaitForArgs(const QString& dumpFile) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 10000) {
        if (QFile::exists(dumpFile)) {
            QByteArray bytes = ReadFile(dumpFile);
            QStringList args;
            while (!bytes.isEmpty()) {
                const qsizetype nul = bytes.indexOf('\0');
                if (nul < 0) break;
                args << QString::fromUtf8(bytes.left(nul));
                bytes.remove(0, nul + 1);
            }
            return args;
        }
        QThread::msleep(20);
    }
    return std::nullopt;
}

TEST(RunAction, PassesExactlyTheIntendedArguments) {
    ActionEnv env;
    const QString helper = QStringLiteral(VANDREL_ARGV_DUMP);
    ASSERT_TRUE(QFile::exists(helper));
    const QString weird = env.path(Q("in/a; rm -rf ~ $(id) `id` \"q\" 'x' *.txt"));
    ASSERT_TRUE(WriteFile(weird, "x"));
    const QString spaced = env.path(Q("in/my folder"));
    ASSERT_TRUE(test::MakeDir(spaced));

    struct Case {
        QString kind;
        QString path;
        bool params;
        QString pattern;
        QStringList expected;
    };
    const Case cases[] = {
        {Q("file"), weird, true, Q("<//>filepath<//>"), {weird}},
        {Q("file"),
         weird,
         true,
         Q("--in=<//>filepath<//> -q \"two words\""),
         {Q("--in=") + weird, Q("-q"), Q("two words")}},
        {Q("folder"), spaced, true, Q("'<//>filepath<//>'"), {spaced}},
        {Q("file"), weird, false, Q("<//>filepath<//>"), {}},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString dump = env.path(Q("dump%1").arg(++n));
        qputenv("VANDREL_ARGV_DUMP", dump.toUtf8());
        ActionRun run(env.ctx);
        run.LoadFromString(helper + Q("<|AC|>") + (c.params ? Q("1") : Q("0")) + Q("<|AC|>") +
                           c.pattern);
        const QString params = MakeParamList(c.kind, c.path);
        EXPECT_EQ(run.TakeAction(params), params);
        const auto args = WaitForArgs(dump);
        ASSERT_TRUE(args.has_value()) << c.pattern.toStdString();
        EXPECT_EQ(*args, c.expected) << c.pattern.toStdString();
    }
    // Nothing was run by a shell: no file appeared from the injected commands.
    EXPECT_TRUE(QFile::exists(weird));
    const auto rows = env.commitAndRead();
    ASSERT_EQ(rows.size(), 4u);
    for (const LogRow& r : rows) EXPECT_EQ(r.actionName, Q("Run"));
}

TEST(RunAction, DefaultsAndMissingProgram) {
    ActionEnv env;
    ActionRun run(env.ctx);
    std::vector<Launch> launches;
    run.setLauncher(Recorder(launches));
    const QString params = FileParams(env.path(Q("x")));
    EXPECT_EQ(run.TakeAction(params), params);  // no program
    run.setApplication(env.path(Q("no-such-program")));
    EXPECT_EQ(run.TakeAction(params), params);
    EXPECT_TRUE(launches.empty());
    EXPECT_TRUE(env.commitAndRead().empty());

    // A program that exists but does not start is reported, not logged.
    RecordingPrompt prompt(true);
    env.ctx.prompt = &prompt;
    ASSERT_TRUE(WriteFile(env.path(Q("not-executable")), "data"));
    ActionRun bad(env.ctx);
    bad.setApplication(env.path(Q("not-executable")));
    EXPECT_EQ(bad.TakeAction(params), params);
    EXPECT_EQ(prompt.failures.size(), 1u);
    EXPECT_TRUE(env.commitAndRead().empty());
}

TEST(AddToAction, AppendsCrLfLinesAndKeepsEarlierOnes) {
    ActionEnv env;
    const QString list = env.path(Q("lists/paths.txt"));
    ASSERT_TRUE(WriteFile(list, "earlier\r\n"));
    ActionAddTo add(env.ctx);
    add.LoadFromString(list);
    const QString a = env.path(Q("Grüße a.txt"));
    const QString b = env.path(Q("folder b"));
    EXPECT_EQ(add.TakeAction(FileParams(a)), FileParams(a));
    EXPECT_EQ(add.TakeAction(FolderParams(b)), FolderParams(b));
    EXPECT_EQ(ReadFile(list), "earlier\r\n" + a.toUtf8() + "\r\n" + b.toUtf8() + "\r\n");

    // A missing list file is created.
    ActionAddTo fresh(env.ctx);
    fresh.setListFile(env.path(Q("lists/new.txt")));
    fresh.TakeAction(FileParams(a));
    EXPECT_EQ(ReadFile(env.path(Q("lists/new.txt"))), a.toUtf8() + "\r\n");

    const auto rows = env.commitAndRead();
    ASSERT_EQ(rows.size(), 3u);
    for (const LogRow& r : rows) EXPECT_EQ(r.actionName, Q("AddTo"));
}

TEST(AddToAction, UnwritableListFileIsReportedAndNotLogged) {
    ActionEnv env;
    RecordingPrompt prompt(true);
    env.ctx.prompt = &prompt;
    const QString item = FileParams(env.path(Q("a.txt")));
    QStringList targets = {env.path(Q("missing/folder/list.txt")), Q("relative.txt"),
                           env.dir.path()};
    const QString readOnly = env.path(Q("ro.txt"));
    ASSERT_TRUE(WriteFile(readOnly, "keep\r\n"));
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFileDevice::ReadOwner));
    if (::geteuid() != 0) targets << readOnly;  // root writes through permissions
    if (QFile::exists(Q("/dev/full"))) targets << Q("/dev/full");
    for (const QString& t : targets) {
        ActionAddTo add(env.ctx);
        add.setListFile(t);
        EXPECT_EQ(add.TakeAction(item), item) << t.toStdString();
    }
    EXPECT_EQ(prompt.failures.size(), static_cast<size_t>(targets.size()));
    EXPECT_EQ(ReadFile(readOnly), "keep\r\n");
    EXPECT_FALSE(QFile::exists(env.path(Q("missing"))));
    EXPECT_TRUE(env.commitAndRead().empty());

    // An empty list-file path is a silent no-op.
    ActionAddTo none(env.ctx);
    EXPECT_EQ(none.TakeAction(item), item);
    EXPECT_EQ(prompt.failures.size(), static_cast<size_t>(targets.size()));
}

}  // namespace
}  // namespace vandrel
