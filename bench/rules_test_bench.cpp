// Benchmark: DoRulesTest over 10,000 files (20 extensions) against a rule list of 20
// rules (name and extension conditions, half of them never matching), with the in-use
// test on, compared with a bare loop that only stats the same files in the same process.
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "folders/module_check_file.h"
#include "platform/file_in_use.h"
#include "rules/rule_list.h"

using namespace vandrel;

namespace {

constexpr int kFiles = 10000;
constexpr int kExtensions = 20;

QString Ext(int i) { return QStringLiteral("e%1").arg(i, 2, 10, QLatin1Char('0')); }

QString RulesText() {
    QStringList rules;
    for (int i = 0; i < 20; ++i) {
        const QString guid = QStringLiteral("%1-0000-4000-8000-000000000000").arg(i + 1, 8, 10, QLatin1Char('0'));
        QString conditions;
        if (i % 2 == 0) {
            // Never matches: an extension no file has, and a name no file has.
            conditions = QStringLiteral("Extension<|CP|>is<|CD|>none%1<|CP|>Name<|CP|>starts with<|CD|>zz%1").arg(i);
        } else {
            conditions = QStringLiteral("Extension<|CP|>is<|CD|>%1<|CP|>Name<|CP|>contains<|CD|>file").arg(Ext(i));
        }
        rules << QStringLiteral("Rule %1<|RU|>All<|RU|>%2<|RU|><|RU|>%3").arg(i).arg(conditions, guid);
    }
    return rules.join(QStringLiteral("<|RP|>"));
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir tmp;
    const QString dir = tmp.path();
    QStringList paths;
    paths.reserve(kFiles);
    for (int i = 0; i < kFiles; ++i) {
        const QString p = QStringLiteral("%1/file%2.%3").arg(dir).arg(i).arg(Ext(i % kExtensions));
        QFile f(p);
        if (!f.open(QIODevice::WriteOnly)) return 1;
        f.write("x");
        paths << p;
    }

    // Bare loop: stat every file.
    QElapsedTimer t;
    qint64 sink = 0;
    t.start();
    for (const QString& p : paths) {
        struct stat st {};
        if (::stat(QFile::encodeName(p).constData(), &st) == 0) sink += st.st_size;
    }
    const double bareSecs = t.nsecsElapsed() / 1e9;

    FileInUseProbe probe;
    EngineContext ctx;
    ctx.inUse = &probe;
    RuleList rules(ctx);
    rules.LoadFromString(RulesText());
    int matched = 0;
    t.start();
    for (const QString& p : paths)
        if (rules.DoRulesTest(p) != QLatin1String(kNoMatchedRule)) ++matched;
    const double engineSecs = t.nsecsElapsed() / 1e9;

    const double bareRate = kFiles / bareSecs;
    const double engineRate = kFiles / engineSecs;
    std::printf("rules_test: %d files, 20 rules, in-use test on (%d matched, sink %lld)\n", kFiles,
                matched, static_cast<long long>(sink));
    std::printf("  bare stat loop : %10.0f files/s\n", bareRate);
    std::printf("  DoRulesTest    : %10.0f files/s (%.1f us/file)\n", engineRate,
                1e6 * engineSecs / kFiles);
    std::printf("  ratio          : %.1f%% of the bare loop (target >= 15%%)\n",
                100.0 * engineRate / bareRate);
    return 0;
}
