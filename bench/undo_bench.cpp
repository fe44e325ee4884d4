// Benchmark: organising one folder of COUNT files (default 10,000; 20 extensions, 1-8 KiB)
// through the engine (ListFolderItems + RuleList::DoRunRules in one run, log open, in-use
// test on, every move logged) with 20 rules "Extension is X -> Move to DEST/X sorted into
// a subfolder named by the date", then undoing that run (UndoEngine, every step checked and
// logged), in the same process on the same files. Prints both rates and undo's share of
// organize's rate (the target: at least 0.5).
//
// usage: bench_undo [COUNT]
#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "actions/undo_engine.h"
#include "attributes/attribute_helper.h"
#include "log/log_manager.h"
#include "log/log_run.h"
#include "platform/file_in_use.h"
#include "platform/module_check_file.h"
#include "rules/rule_list.h"

using namespace vandrel;

namespace {

constexpr int kExtensions = 20;

QString Ext(int i) { return QStringLiteral("e%1").arg(i, 2, 10, QLatin1Char('0')); }

bool MakeFiles(const QString& dir, int count) {
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> size(1024, 8192);
    std::vector<char> data(8192);
    for (char& c : data) c = static_cast<char>(rng());
    if (!QDir().mkpath(dir)) return false;
    for (int i = 0; i < count; ++i) {
        const QByteArray name =
            QFile::encodeName(dir + QStringLiteral("/file%1.").arg(i) + Ext(i % kExtensions));
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0) return false;
        const int n = size(rng);
        const bool ok = ::write(fd, data.data(), size_t(n)) == n;
        ::close(fd);
        if (!ok) return false;
    }
    return true;
}

QString RulesText(const QString& dest) {
    QStringList rules;
    for (int e = 0; e < kExtensions; ++e) {
        if (!QDir().mkpath(dest + QLatin1Char('/') + Ext(e))) return QString();
        rules << QStringLiteral(
                     "Sort %1<|RU|>All<|RU|>Extension<|CP|>is<|CD|>%1<|RU|>Move to<|AP|>"
                     "%2/%1<|AC|>1<|AC|><//>date.current<//><|AC|>1<|RU|>"
                     "%3-0000-4000-8000-000000000000")
                     .arg(Ext(e), dest)
                     .arg(e + 1, 8, 10, QLatin1Char('0'));
    }
    return rules.join(QStringLiteral("<|RP|>"));
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    QTemporaryDir tmp;
    if (count < 1 || !tmp.isValid()) return 2;
    qputenv("XDG_DATA_HOME", tmp.filePath(QStringLiteral("xdg")).toUtf8());
    const QString src = tmp.filePath(QStringLiteral("src"));
    const QString rulesText = RulesText(tmp.filePath(QStringLiteral("dest")));
    if (rulesText.isEmpty() || !MakeFiles(src, count)) {
        std::fprintf(stderr, "cannot create the test files\n");
        return 1;
    }
    LogManager log;
    if (!log.OpenLogFile(tmp.filePath(QStringLiteral("log.db")))) return 1;
    AttributeHelper attrs;
    FileInUseProbe probe;
    EngineContext ctx;
    ctx.log = &log;
    ctx.attributes = &attrs;
    ctx.inUse = &probe;
    RuleList rules(ctx);
    rules.LoadFromString(rulesText);
    ::sync();

    QElapsedTimer t;
    t.start();
    QString run;
    int moved = 0;
    {
        const LogRun scope(&log);
        run = scope.id();
        QStringList files, folders;
        ListFolderItems(src, files, folders);
        for (const QString& f : files)
            if (rules.DoRunRules(f) != QLatin1String(kNoMatchedRule)) ++moved;
    }
    (void)log.Flush();  // the takes into the database: part of organizing
    const double organizeSec = double(t.nsecsElapsed()) / 1e9;
    ::sync();

    t.restart();
    UndoEngine engine(log);
    const UndoReport report = engine.Undo(log.RowsOfRun(run), false);
    const double undoSec = double(t.nsecsElapsed()) / 1e9;
    const int undone = report.count(UndoStep::Outcome::kDone);

    const double organizeRate = moved / organizeSec, undoRate = undone / undoSec;
    std::printf("organize: %d files moved in %.3f s = %.0f files/s\n", moved, organizeSec,
                organizeRate);
    std::printf("undo:     %d files put back in %.3f s = %.0f files/s\n", undone, undoSec,
                undoRate);
    std::printf("undo rate / organize rate = %.2f (target >= 0.50)\n", undoRate / organizeRate);
    return moved == count && undone == count ? 0 : 1;
}
