// Benchmark of the watched-folder schedule: the once-a-minute due test over many folders,
// and loading and saving folders.txt.
//
//   folders_schedule_bench [FOLDERS]     FOLDERS defaults to 10,000
//
// Simulates a day of checks (1,440, one a minute) over FOLDERS enabled folders with mixed
// schedules and reports the cost of one check against its budget, the 60-second interval
// of the folder timer; and the cost of loading and saving the list text against plain
// splitting and joining of the same text (the floor any parser has to pay); and the cost
// of the scheduler's sync with folders.txt in a temporary folder.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "folders/watched_folder_list.h"
#include "folders/watched_folder_sync.h"
#include "platform/clock.h"
#include "rules/rule_text.h"

using namespace vandrel;

namespace {

double MedianMs(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double TimeMs(const std::function<void()>& f, int reps = 5) {
    std::vector<double> runs;
    for (int i = 0; i < reps; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        runs.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    return MedianMs(runs);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::max(1, atoi(argv[1])) : 10000;
    const QDateTime start(QDate(2026, 3, 10), QTime(0, 0, 30));
    FakeClock clock(start);

    WatchedFolderList list(clock);
    for (int i = 0; i < n; ++i) {
        WatchedFolder& f = list.AddNewFolder();
        f.setFolderPath(QStringLiteral("/srv/watch/folder-%1").arg(i));
        f.setEnabled(i % 10 != 0);
        if (i % 3 == 0) {
            f.setMethod(QStringLiteral("at"));
            f.setHour(WatchedFolder::hourItems().at(i % 24));
            f.setMinute(WatchedFolder::minuteItems().at(i % 12));
        } else {
            f.setInterval(WatchedFolder::intervalItems().at(i % 4));
        }
        f.selector().LoadFromString(i % 2 ? QStringLiteral("all")
                                          : QStringLiteral("<guid>%1</guid>").arg(NewRuleGuid()));
    }

    // A day of checks, one a minute.
    qint64 due = 0;
    QElapsedTimer day;
    day.start();
    for (int minute = 0; minute < 1440; ++minute)
        due += static_cast<qint64>(list.DueFolders(start.addSecs(qint64(minute) * 60)).size());
    const double dayMs = static_cast<double>(day.nsecsElapsed()) / 1e6;
    const double perCheckMs = dayMs / 1440.0;
    std::printf("folders: %d (90%% enabled), checks: 1440 (one simulated day)\n", n);
    std::printf("due runs found: %lld\n", static_cast<long long>(due));
    std::printf("one check over all folders: %.3f ms (%.1f ns per folder)\n", perCheckMs,
                perCheckMs * 1e6 / n);
    std::printf("ratio to the 60 s check interval: %.2e\n", perCheckMs / 60000.0);

    const QString text = list.SaveToString();
    QString saved;
    const double saveMs = TimeMs([&] { saved = list.SaveToString(); });
    WatchedFolderList loaded(clock);
    const double loadMs = TimeMs([&] { loaded.LoadFromString(text); });
    qsizetype fields = 0;
    const double splitMs = TimeMs([&] {
        fields = 0;
        for (const QString& part : SplitText(text, kFolderListSep))
            fields += SplitText(part, kFolderFieldSep).size();
    });
    QString joined;
    const double joinMs = TimeMs([&] {
        QStringList parts;
        for (const QString& part : SplitText(text, kFolderListSep))
            parts << SplitText(part, kFolderFieldSep).join(QString::fromUtf16(kFolderFieldSep));
        joined = parts.join(QString::fromUtf16(kFolderListSep));
    });
    if (loaded.folderCount() != n || saved != text || joined != text ||
        fields != qsizetype(n) * 11) {
        std::fprintf(stderr, "round trip mismatch\n");
        return 1;
    }
    std::printf("list text: %.1f KiB\n", static_cast<double>(text.size()) * 2 / 1024.0);
    std::printf("load: %.2f ms, plain split: %.2f ms, ratio %.1fx\n", loadMs, splitMs,
                loadMs / splitMs);
    std::printf("save: %.2f ms, plain split+join: %.2f ms, ratio %.1fx\n", saveMs, joinMs,
                saveMs / joinMs);

    // The scheduler's sync with folders.txt (locked read, merge of the run times, write
    // when they moved), done at every check and before every due folder, against the
    // load and save of the same list.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("folders.txt"));
    if (!dir.isValid() || !list.SaveToFile(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return 1;
    }
    const StateStore store;
    WatchedFolderSync sync(file, list, store);
    bool synced = true;
    const double syncMs = TimeMs([&] { synced = synced && sync.Sync().update.ok(); });
    if (!synced || list.folderCount() != n) {
        std::fprintf(stderr, "sync failed\n");
        return 1;
    }
    std::printf("sync with the file: %.2f ms, ratio to load+save %.1fx\n", syncMs,
                syncMs / (loadMs + saveMs));
    return 0;
}
