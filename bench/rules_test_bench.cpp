// Benchmark: DoRulesTest over 10,000 files (20 extensions) against a rule list of 20
// rules (name and extension conditions, half of them never matching), with the in-use
// test on, compared with a bare loop that only stats the same files in the same process.
// Then mixed rule lists of 50 and 1,000 rules cycling through every condition kind (dates
// in both modes, sizes with units, names, kinds, folders, MP3 and photo attributes) over
// 2,000 files of varied sizes, one in ten an MP3 song and one in ten a camera photo; each
// rule's cycling condition is evaluated on every file and no rule matches, so every rule
// is asked about every file. Each figure is a ratio to the bare loop over the same files.
// With a number N as its argument only the mixed list of N rules runs (for a profiler).
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "attributes/attribute_helper.h"
#include "platform/file_in_use.h"
#include "platform/module_check_file.h"
#include "rules/rule_list.h"

using namespace vandrel;

namespace {

constexpr int kFiles = 10000;
constexpr int kExtensions = 20;

QString Ext(int i) { return QStringLiteral("e%1").arg(i, 2, 10, QLatin1Char('0')); }

QString RulesText() {
    QStringList rules;
    for (int i = 0; i < 20; ++i) {
        const QString guid =
            QStringLiteral("%1-0000-4000-8000-000000000000").arg(i + 1, 8, 10, QLatin1Char('0'));
        QString conditions;
        if (i % 2 == 0) {
            // Never matches: an extension no file has, and a name no file has.
            conditions =
                QStringLiteral("Extension<|CP|>is<|CD|>none%1<|CP|>Name<|CP|>starts with<|CD|>zz%1")
                    .arg(i);
        } else {
            conditions =
                QStringLiteral("Extension<|CP|>is<|CD|>%1<|CP|>Name<|CP|>contains<|CD|>file")
                    .arg(Ext(i));
        }
        rules << QStringLiteral("Rule %1<|RU|>All<|RU|>%2<|RU|><|RU|>%3")
                     .arg(i)
                     .arg(conditions, guid);
    }
    return rules.join(QStringLiteral("<|RP|>"));
}

// The condition of mixed rule i: kinds in turn, values as users write them.
QString MixedCondition(int i) {
    static const char* const kUnits[] = {"Minute", "Hour", "Day", "Week"};
    static const int kNumbers[] = {1, 2, 3, 7, 14, 30};
    static const char* const kSizeUnits[] = {"Byte", "KB", "MB", "GB"};
    static const char* const kDates[] = {"is", "is before", "is after", "is in the last",
                                         "is not in the last"};
    static const char* const kAttrs[] = {"mp3.artist",  "mp3.album", "photo.maker",
                                         "photo.model", "mp3.genre", "office.author"};
    const int round = i / 11;
    const QString n = QString::number(kNumbers[round % 6]);
    const QString unit = QLatin1String(kUnits[round % 4]);
    const QString dateOp = QLatin1String(kDates[round % 5]);
    const QString date =
        QStringLiteral("20%1-0%2-1%3").arg(10 + round % 15).arg(1 + round % 9).arg(round % 10);
    const QString dateCell = dateOp + "<|CD|>" + n + "<|CD|>" + unit + "<|CD|>" + date;
    switch (i % 11) {
        case 0:
            return QStringLiteral("Name<|CP|>contains<|CD|>invoice%1").arg(round);
        case 1:
            return QStringLiteral("Extension<|CP|>is included in<|CD|>pdf,odt,x%1").arg(round);
        case 2:
            return QStringLiteral("Full Name<|CP|>ends with<|CD|>.tar.gz");
        case 3:
            return QStringLiteral("Date Created<|CP|>") + dateCell;
        case 4:
            return QStringLiteral("Date Last Modified<|CP|>") + dateCell;
        case 5:
            return QStringLiteral("Date Last Accessed<|CP|>") + dateCell;
        case 6:
            return QStringLiteral("Size<|CP|>%1<|CD|>%2<|CD|>%3")
                .arg(round % 2 ? "is greater than" : "is less than", kSizeUnits[round % 4],
                     QString::number(1 + round % 500));
        case 7:
            return QStringLiteral("Kind<|CP|>%1<|CD|>forkind").arg(round % 2 ? "Music" : "Image");
        case 8:
            return QStringLiteral("In Folder<|CP|>/home/someone/Downloads%1<|CD|>forinfolder")
                .arg(round);
        case 9:
            return QStringLiteral("Any<|CP|>anything<|CD|>anything");
        default:
            return QStringLiteral("Other Attribute<|CP|>%1<|CD|>contains<|CD|>%2")
                .arg(kAttrs[round % 6], round % 2 ? "Quartet" : "SONY");
    }
}

// count rules, each: the cycling condition, then a name no file has (All mode).
QString MixedRulesText(int count) {
    QStringList rules;
    for (int i = 0; i < count; ++i) {
        const QString guid =
            QStringLiteral("%1-0000-4000-8000-000000000001").arg(i + 1, 8, 10, QLatin1Char('0'));
        rules << QStringLiteral(
                     "Mixed %1<|RU|>All<|RU|>%2<|CP|>Name<|CP|>is<|CD|>zz-never-%1<|RU|><|RU|>%3")
                     .arg(i)
                     .arg(MixedCondition(i), guid);
    }
    return rules.join(QStringLiteral("<|RP|>"));
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

double BareStatSecs(const QStringList& paths, qint64& sink) {
    QElapsedTimer t;
    t.start();
    for (const QString& p : paths) {
        struct stat st {};
        if (::stat(QFile::encodeName(p).constData(), &st) == 0) sink += st.st_size;
    }
    return t.nsecsElapsed() / 1e9;
}

// Runs the mixed list of ruleCount rules over paths; prints the ratio to the bare loop.
void RunMixed(const QStringList& paths, int ruleCount) {
    FileInUseProbe probe;
    AttributeHelper attributes;
    EngineContext ctx;
    ctx.inUse = &probe;
    ctx.attributes = &attributes;
    RuleList rules(ctx);
    rules.LoadFromString(MixedRulesText(ruleCount));
    qint64 sink = 0;
    // The in-use snapshot (one scan of /proc, renewed each second; bench_in_use_probe
    // measures it) is taken before the timing, so the figure is the rules' own cost.
    QElapsedTimer t;
    t.start();
    (void)probe.isInUse(paths.first());
    const double snapshotMs = t.nsecsElapsed() / 1e6;
    // The bare loop runs just before, over the same files, so both meet the same caches.
    const double bareSecs = BareStatSecs(paths, sink);
    int matched = 0;
    t.start();
    for (const QString& p : paths)
        if (rules.DoRulesTest(p) != QLatin1String(kNoMatchedRule)) ++matched;
    const double engineSecs = t.nsecsElapsed() / 1e9;
    const double ratio = 100.0 * bareSecs / engineSecs;
    std::printf("mixed rules: %d files, %d rules (%d matched, sink %lld)\n",
                static_cast<int>(paths.size()), ruleCount, matched, static_cast<long long>(sink));
    std::printf("  DoRulesTest    : %10.0f files/s (%.1f us/file)\n", paths.size() / engineSecs,
                1e6 * engineSecs / paths.size());
    std::printf("  ratio          : %.2f%% of the bare loop (target >= %s)\n", ratio,
                ruleCount <= 50 ? "15%" : "1.5%");
    std::printf("  in-use snapshot: %.1f ms, taken before the timing\n", snapshotMs);
}

// The mixed items: varied sizes, every tenth an MP3 song, every tenth a camera photo.
QStringList MakeMixedItems(const QString& dir) {
    const QByteArray song = ReadAll(QStringLiteral(VANDREL_TEST_DATA "/mp3/id3v2_tool_v23_v1.mp3"));
    const QByteArray photo = ReadAll(QStringLiteral(VANDREL_TEST_DATA "/photo/sony.jpg"));
    static const char* const kMixedExt[] = {"pdf", "txt", "doc", "png",
                                            "zip", "odt", "csv", "xlsx"};
    QDir(dir).mkdir(QStringLiteral("mixed"));
    QStringList mixed;
    for (int i = 0; i < 2000; ++i) {
        QString p = QStringLiteral("%1/mixed/item%2.").arg(dir).arg(i);
        QByteArray bytes;
        if (i % 10 == 3) {
            p += QStringLiteral("mp3");
            bytes = song;
        } else if (i % 10 == 7) {
            p += QStringLiteral("jpg");
            bytes = photo;
        } else {
            p += QLatin1String(kMixedExt[i % 8]);
            bytes = QByteArray((i * 7919) % 300000, 'x');
        }
        QFile f(p);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) return {};
        mixed << p;
    }
    return mixed;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir tmp;
    const QString dir = tmp.path();
    if (argc > 1) {
        const QStringList mixed = MakeMixedItems(dir);
        if (mixed.isEmpty()) return 1;
        RunMixed(mixed, std::atoi(argv[1]));
        return 0;
    }
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

    const QStringList mixed = MakeMixedItems(dir);
    if (mixed.isEmpty()) return 1;
    RunMixed(mixed, 50);
    RunMixed(mixed, 1000);
    return 0;
}
