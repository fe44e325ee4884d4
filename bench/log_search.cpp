// Benchmark of the action log: paged search, counts and commits on a large log.
//
//   log_search [ROWS] [DB] [--search-only [--words=W,W...]]
//                               ROWS defaults to 1,000,000; DB to a temporary file (an
//                               existing DB with enough rows is reused as it is);
//                               --search-only: the indexed search and its equivalence only;
//                               --words: the words it times instead of its own, without
//                               the equivalence check.
//
// Fills a log with realistic takes (downloads sorted into folders by a dozen rules), then
// times LogManager's pages and counts against plain SQL in the same process: the bare
// "like '%w%'" scan, the "not in (the newest M ids)" form of skipping rows, and OFFSET.
// Every page is checked to hold the same rows in all forms. Prints figures and ratios.
// Counts of words the log has not counted before are timed apart from counts it keeps.
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <random>
#include <vector>

#include "log/log_manager.h"
#include "log/log_search_word.h"

using vandrel::ActionLog;
using vandrel::LogManager;
using vandrel::LogRow;

namespace {

constexpr int kPageSize = 17;
constexpr int kReps = 5;
constexpr int kScanReps = 9;

double MedianMs(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double TimeMs(const std::function<void()>& f) {
    QElapsedTimer t;
    t.start();
    f();
    return double(t.nsecsElapsed()) / 1e6;
}

// Realistic file names: camera pictures dominate a downloads folder, then documents,
// music, archives and installers.
class NameMaker {
  public:
    explicit NameMaker(unsigned seed) : rng_(seed) {}
    struct Item {
        QString name;
        QString folder;
        QString rule;
    };
    Item next() {
        const int kind = int(rng_() % 100);
        const int n = int(rng_() % 100000);
        if (kind < 55)
            return {QStringLiteral("IMG_2023%1_%2.jpg")
                        .arg(n % 1231 + 101, 4, 10, QLatin1Char('0'))
                        .arg(n, 6, 10, QLatin1Char('0')),
                    QStringLiteral("Pictures/Camera"), QStringLiteral("Photos to Pictures")};
        if (kind < 65)
            return {QStringLiteral("invoice-%1-%2.pdf").arg(2015 + n % 9).arg(Pick(kCompanies)),
                    QStringLiteral("Documents/Invoices"), QStringLiteral("Invoices by year")};
        if (kind < 75)
            return {QStringLiteral("%1 - %2.mp3").arg(Pick(kArtists), Pick(kSongs)),
                    QStringLiteral("Music/") + Pick(kArtists), QStringLiteral("Music by artist")};
        if (kind < 83)
            return {QStringLiteral("report_q%1_%2_final.docx").arg(n % 4 + 1).arg(Pick(kTeams)),
                    QStringLiteral("Documents/Reports"), QStringLiteral("Office documents")};
        if (kind < 90)
            return {QStringLiteral("backup-%1.tar.gz").arg(n), QStringLiteral("Archives"),
                    QStringLiteral("Archives out of Downloads")};
        if (kind < 96)
            return {QStringLiteral("setup-%1.%2.%3.exe").arg(n % 9).arg(n % 17).arg(n % 5),
                    QStringLiteral("Installers"), QStringLiteral("Installers")};
        return {QStringLiteral("Screenshot from 2023-%1.png").arg(n % 12 + 1),
                QStringLiteral("Pictures/Screenshots"), QStringLiteral("Screenshots")};
    }
    unsigned draw(unsigned n) { return rng_() % n; }

  private:
    QString Pick(const std::vector<const char*>& v) {
        return QString::fromUtf8(v[rng_() % v.size()]);
    }
    std::mt19937 rng_;
    const std::vector<const char*> kCompanies{"acme", "globex", "initech", "umbrella", "hooli"};
    const std::vector<const char*> kArtists{"Nina Arden", "The Quiet Ones", "Marlo Vey", "Kestrel",
                                            "Ode to June"};
    const std::vector<const char*> kSongs{"Blue Hour", "Paper Boats", "Northbound",
                                          "Static",    "Lanterns",    "Low Tide"};
    const std::vector<const char*> kTeams{"sales", "ops", "finance", "research"};
};

const QString kRareName = QStringLiteral("Zephyr budget plan.xlsx");

// Appends one take of 1-5 items; every 300,000th take carries the rare name.
int CommitOneTake(LogManager& log, NameMaker& names, qint64 takeNo, const QDateTime& when) {
    const int rows = 1 + int(names.draw(5));
    QString rule;
    for (int i = 0; i < rows; ++i) {
        NameMaker::Item item = names.next();
        if (i == 0 && takeNo % 300000 == 7) {
            item.name = kRareName;
            item.folder = QStringLiteral("Documents/Spreadsheets");
        }
        if (i == 0) rule = item.rule;
        ActionLog a;
        a.takeTime = when;
        a.oriPath = QStringLiteral("/home/robin/Downloads/") + item.name;
        a.dstPath = QStringLiteral("/home/robin/") + item.folder + QLatin1Char('/') + item.name;
        a.actionName = QStringLiteral("Move");
        a.searchWords = item.name;
        log.AppendActionLog(a);
    }
    if (!log.CommitToLogFile(rule)) {
        std::fprintf(stderr, "commit failed: %s\n", qPrintable(log.lastError()));
        std::exit(1);
    }
    return rows;
}

// The baseline queries, on a connection of their own.
class Raw {
  public:
    explicit Raw(const QString& path) {
        if (sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READONLY, nullptr) !=
            SQLITE_OK) {
            std::fprintf(stderr, "cannot open %s\n", qPrintable(path));
            std::exit(1);
        }
    }
    ~Raw() { sqlite3_close(db_); }
    std::vector<qint64> ids(const char* sql, const QString& like, qint64 a, qint64 b = 0) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db_, sql, -1, &s, nullptr) != SQLITE_OK) {
            std::fprintf(stderr, "prepare failed: %s\n", sqlite3_errmsg(db_));
            std::exit(1);
        }
        const QByteArray l = like.toUtf8();
        if (int i = sqlite3_bind_parameter_index(s, ":w"))
            sqlite3_bind_text(s, i, l.constData(), int(l.size()), SQLITE_TRANSIENT);
        if (int i = sqlite3_bind_parameter_index(s, ":a")) sqlite3_bind_int64(s, i, a);
        if (int i = sqlite3_bind_parameter_index(s, ":b")) sqlite3_bind_int64(s, i, b);
        std::vector<qint64> out;
        while (sqlite3_step(s) == SQLITE_ROW) out.push_back(sqlite3_column_int64(s, 0));
        sqlite3_finalize(s);
        return out;
    }
    // The bare scan every search pays at least once: count(*) with like '%w%'.
    qint64 likeScan(const QString& w) {
        return ids("SELECT count(*) FROM actions WHERE searchwords LIKE :w", Like(w), 0).at(0);
    }
    // Skip the newest M matching rows with "not in (the newest M ids)".
    std::vector<qint64> notIn(const QString& w, qint64 page) {
        const qint64 m = (page - 1) * kPageSize;
        if (w.isEmpty())
            return ids(page < 2 ? "SELECT id FROM actions ORDER BY id DESC LIMIT :a"
                                : "SELECT id FROM actions WHERE id NOT IN (SELECT id FROM "
                                  "actions ORDER BY id DESC LIMIT :b) ORDER BY id DESC LIMIT :a",
                       QString(), kPageSize, m);
        return ids(page < 2 ? "SELECT id FROM actions WHERE searchwords LIKE :w ORDER BY id "
                              "DESC LIMIT :a"
                            : "SELECT id FROM actions WHERE id NOT IN (SELECT id FROM actions "
                              "WHERE searchwords LIKE :w ORDER BY id DESC LIMIT :b) AND "
                              "searchwords LIKE :w ORDER BY id DESC LIMIT :a",
                   Like(w), kPageSize, m);
    }
    std::vector<qint64> offset(const QString& w, qint64 page) {
        const qint64 m = (page - 1) * kPageSize;
        if (w.isEmpty())
            return ids("SELECT id FROM actions ORDER BY id DESC LIMIT :a OFFSET :b", QString(),
                       kPageSize, m);
        return ids(
            "SELECT id FROM actions WHERE searchwords LIKE :w ORDER BY id DESC LIMIT :a "
            "OFFSET :b",
            Like(w), kPageSize, m);
    }
    static QString Like(const QString& w) { return QLatin1Char('%') + w + QLatin1Char('%'); }
    static QString FoldedLike(QString w) {
        return Like(vandrel::LogSearchWord::Fold(w.remove(QLatin1Char('\''))));
    }
    // The case-blind scan over the folded copies: what the index must answer exactly.
    qint64 foldedScan(const QString& w) {
        return ids("SELECT count(*) FROM actions WHERE foldedwords LIKE :w", FoldedLike(w), 0)
            .at(0);
    }
    std::vector<qint64> foldedPage(const QString& w, qint64 page) {
        return ids(
            "SELECT id FROM actions WHERE foldedwords LIKE :w ORDER BY id DESC LIMIT :a "
            "OFFSET :b",
            FoldedLike(w), kPageSize, (page - 1) * kPageSize);
    }
    // Bytes of the pages of the tables and indexes whose names start with prefix; -1 when
    // this SQLite has no dbstat table.
    qint64 bytesOf(const char* prefix) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db_, "SELECT sum(pgsize) FROM dbstat WHERE name LIKE ?", -1, &s,
                               nullptr) != SQLITE_OK)
            return -1;
        const std::string like = std::string(prefix) + "%";
        sqlite3_bind_text(s, 1, like.c_str(), -1, SQLITE_TRANSIENT);
        const qint64 bytes = sqlite3_step(s) == SQLITE_ROW ? sqlite3_column_int64(s, 0) : -1;
        sqlite3_finalize(s);
        return bytes;
    }

  private:
    sqlite3* db_ = nullptr;
};

std::vector<qint64> Ids(const std::vector<LogRow>& rows) {
    std::vector<qint64> out;
    for (const LogRow& r : rows) out.push_back(r.id);
    return out;
}

// Makes the log forget the counts it keeps, so the next count of any word is a new one.
void ForgetCounts(const QString& path) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK ||
        sqlite3_exec(db, "DELETE FROM searchcounts", nullptr, nullptr, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "cannot forget the kept counts: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
    sqlite3_close(db);
}

int g_mismatches = 0;
void Check(bool same, const char* what, const QString& word, qint64 page) {
    if (same) return;
    ++g_mismatches;
    std::printf("  MISMATCH: %s, word '%s', page %lld\n", what, qPrintable(word),
                static_cast<long long>(page));
}

QString Label(const QString& w) { return w.isEmpty() ? QStringLiteral("(empty)") : w; }

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const qint64 wantRows = argc > 1 ? QByteArray(argv[1]).toLongLong() : 1000000;
    QTemporaryDir tmp;
    const QString path =
        argc > 2 ? QString::fromLocal8Bit(argv[2]) : tmp.path() + QStringLiteral("/log.db");

    LogManager filler;
    qint64 broughtAlong = 0;
    const double openMs = TimeMs([&] {
        if (!filler.OpenLogFile(path, [&](qint64 done, qint64) { broughtAlong = done; }))
            broughtAlong = -1;
    });
    if (broughtAlong > 0)
        std::printf("open: %lld rows made searchable (folded, indexed) in %.0f ms\n",
                    static_cast<long long>(broughtAlong), openMs);
    if (broughtAlong < 0) {
        std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(path),
                     qPrintable(filler.lastError()));
        return 1;
    }
    NameMaker names(4242);
    const QDateTime when(QDate(2023, 6, 1), QTime(10, 0));
    qint64 have = filler.GetActionCount(QString());
    std::printf("log: %s\n", qPrintable(path));
    if (have < wantRows) {
        qint64 takes = 0;
        qint64 added = 0;
        const double ms = TimeMs([&] {
            while (have + added < wantRows) added += CommitOneTake(filler, names, takes++, when);
        });
        std::printf("filled %lld rows in %lld takes: %.0f ms, %.0f rows/s\n",
                    static_cast<long long>(added), static_cast<long long>(takes), ms,
                    added / (ms / 1000.0));
        have += added;
    }
    std::printf("rows in log: %lld\n\n", static_cast<long long>(have));

    Raw raw(path);
    const QString common = QStringLiteral("jpg");
    const QString rare = QStringLiteral("zephyr");

    const bool searchOnly = argc > 3 && QByteArray(argv[3]) == "--search-only";
    if (!searchOnly) {
        // Counts and first pages against the bare like scan, in wall and processor time
        // (the processor-time ratio is what a busy shared machine cannot disturb).
        std::printf("%-18s %11s %11s %7s %11s %11s %7s\n", "", "wall ms", "scan ms", "ratio",
                    "cpu ms", "scan cpu", "ratio");
        auto row = [](const QString& what, const std::vector<double>& wall,
                      const std::vector<double>& scanWall, const std::vector<double>& cpu,
                      const std::vector<double>& scanCpu) {
            std::printf("%-18s %11.3f %11.2f %7.3f %11.3f %11.2f %7.3f\n", qPrintable(what),
                        MedianMs(wall), MedianMs(scanWall), MedianMs(wall) / MedianMs(scanWall),
                        MedianMs(cpu), MedianMs(scanCpu), MedianMs(cpu) / MedianMs(scanCpu));
        };
        for (const QString& w : {QString(), common, rare}) {
            std::vector<double> wall, scanWall, cpu, scanCpu;
            qint64 a = 0, b = 0;
            raw.likeScan(w);  // warm the file cache
            for (int i = 0; i < kScanReps; ++i) {
                double c0 = ThreadCpuMs();
                wall.push_back(TimeMs([&] { a = filler.GetActionCount(w); }));
                cpu.push_back(ThreadCpuMs() - c0);
                c0 = ThreadCpuMs();
                scanWall.push_back(TimeMs([&] { b = raw.likeScan(w); }));
                scanCpu.push_back(ThreadCpuMs() - c0);
            }
            Check(a == b, "count", w, 0);
            row(QStringLiteral("count %1").arg(Label(w)), wall, scanWall, cpu, scanCpu);
        }
        // A rare word's first page reads the whole table, so the scan is its floor.
        for (const QString& w : {QString(), common, rare}) {
            std::vector<double> wall, scanWall, cpu, scanCpu;
            for (int i = 0; i < kScanReps; ++i) {
                LogManager log;
                if (!log.OpenLogFile(path)) return 1;
                std::vector<LogRow> rows;
                double c0 = ThreadCpuMs();
                wall.push_back(TimeMs([&] { rows = log.SearchActionLog(w, kPageSize, 1); }));
                cpu.push_back(ThreadCpuMs() - c0);
                c0 = ThreadCpuMs();
                scanWall.push_back(TimeMs([&] { raw.likeScan(w); }));
                scanCpu.push_back(ThreadCpuMs() - c0);
                if (i == 0) Check(Ids(rows) == raw.notIn(w, 1), "page 1", w, 1);
            }
            row(QStringLiteral("page 1 %1").arg(Label(w)), wall, scanWall, cpu, scanCpu);
        }
    }

    // The indexed search against the scan over the same folded copies and the bare scan
    // of today's figures: a cold first page and count on a fresh manager, then warm ones.
    // Processor time (the busy shared machine's wall clock is mostly other processes).
    // "count new": a word the log has not counted before, in wall time; "count kept": the
    // same word asked again on a fresh manager (the log keeps recent counts).
    std::printf("\n%-22s %9s %9s %9s %9s %10s %10s %10s %9s\n", "indexed search (cpu ms)", "route",
                "page1 cold", "page1", "count wall", "count kept", "folded scan", "bare scan",
                "rows");
    QStringList words = {
        QStringLiteral("jpg"),         QStringLiteral("zephyr"),  QStringLiteral("INVOICE"),
        QStringLiteral("img_2023%_0"), QStringLiteral("img_%zq"), QStringLiteral("Müller"),
        QStringLiteral("jp"),          QStringLiteral("q3_"),     QStringLiteral("zq_")};
    const bool chosenWords = argc > 4 && QByteArray(argv[4]).startsWith("--words=");
    if (chosenWords) words = QString::fromUtf8(argv[4] + 8).split(QLatin1Char(','));
    for (const QString& w : words) {
        const vandrel::LogSearchWord word(w);
        const char* route = word.route() == vandrel::LogSearchWord::Route::Scan   ? "scan"
                            : word.route() == vandrel::LogSearchWord::Route::Glob ? "glob"
                                                                                  : "phrase";
        std::vector<double> cold, page1, count, kept, folded, bare;
        qint64 n = 0;
        for (int i = 0; i < kScanReps; ++i) {
            ForgetCounts(path);
            LogManager log;
            if (!log.OpenLogFile(path)) return 1;
            std::vector<LogRow> rows;
            double c0 = ThreadCpuMs();
            rows = log.SearchActionLog(w, kPageSize, 1);
            cold.push_back(ThreadCpuMs() - c0);
            c0 = ThreadCpuMs();
            rows = log.SearchActionLog(w, kPageSize, 1);
            page1.push_back(ThreadCpuMs() - c0);
            // Wall time: a long count is split over two threads, so one thread's processor
            // time would show only half of it.
            count.push_back(TimeMs([&] { n = log.GetActionCount(w); }));
            qint64 again = 0;
            {
                LogManager fresh;
                if (!fresh.OpenLogFile(path)) return 1;
                c0 = ThreadCpuMs();
                again = fresh.GetActionCount(w);
                kept.push_back(ThreadCpuMs() - c0);
            }
            c0 = ThreadCpuMs();
            const qint64 scanCount = raw.foldedScan(w);
            folded.push_back(ThreadCpuMs() - c0);
            c0 = ThreadCpuMs();
            raw.likeScan(w);
            bare.push_back(ThreadCpuMs() - c0);
            if (i == 0) {
                Check(n == scanCount, "indexed count", w, 0);
                Check(again == scanCount, "kept count", w, 0);
                Check(Ids(rows) == raw.foldedPage(w, 1), "indexed page 1", w, 1);
            }
        }
        std::printf("%-22s %9s %9.3f %9.3f %9.3f %10.3f %10.2f %10.2f %9lld\n",
                    qPrintable(QStringLiteral("'%1'").arg(w)), route, MedianMs(cold),
                    MedianMs(page1), MedianMs(count), MedianMs(kept), MedianMs(folded),
                    MedianMs(bare), static_cast<long long>(n));
    }

    // Equivalence on the whole log: random words (pieces of stored names in any case, with
    // wildcards, quotes, non-ASCII and CJK text) on random pages, the index's answer against
    // the scan's. Left out when the words were chosen (a quick look at a few).
    if (!chosenWords) {
        LogManager log;
        if (!log.OpenLogFile(path)) return 1;
        NameMaker pieces(99);
        const QStringList extras = {
            QStringLiteral("%"),  QStringLiteral("_"), QStringLiteral("'"),
            QStringLiteral("Ü"),  QStringLiteral("é"), QStringLiteral("文書"),
            QStringLiteral("\""), QStringLiteral("*"), QStringLiteral("[")};
        int words = 0;
        const int before = g_mismatches;
        for (; words < 200; ++words) {
            const QString name = pieces.next().name;
            const int from = int(pieces.draw(unsigned(name.size())));
            QString w = name.mid(from, 1 + int(pieces.draw(8)));
            if (pieces.draw(2)) w = w.toUpper();
            if (pieces.draw(3) == 0)
                w.insert(int(pieces.draw(unsigned(w.size() + 1))),
                         extras.at(int(pieces.draw(unsigned(extras.size())))));
            const qint64 page = 1 + pieces.draw(pieces.draw(4) == 0 ? 3000 : 4);
            Check(log.GetActionCount(w) == raw.foldedScan(w), "equivalence count", w, 0);
            Check(Ids(log.SearchActionLog(w, kPageSize, page)) == raw.foldedPage(w, page),
                  "equivalence page", w, page);
        }
        std::printf(
            "\nequivalence of index and scan: %d random words with random pages, %d "
            "mismatches\n",
            words, g_mismatches - before);
    }
    if (searchOnly) return g_mismatches == 0 ? 0 : 2;
    const qint64 table = raw.bytesOf("actions"), index = raw.bytesOf("actionsearch"),
                 packs = raw.bytesOf("searchpacks");
    if (table > 0 && index >= 0 && packs >= 0)
        std::printf(
            "sizes: table and its indexes %.1f MB, search index %.1f MB (%.2fx), packed search "
            "words %.1f MB (%.2fx)\n",
            double(table - index) / 1e6, double(index) / 1e6, double(index) / double(table - index),
            double(packs) / 1e6, double(packs) / double(table - index));

    // Deep pages: a cold jump (no page of this search seen yet), then the next and the
    // previous page from there, against "not in" and OFFSET for the same page.
    std::printf("\n%-22s %10s %10s %10s %10s %10s %9s %9s\n", "deep pages", "jump ms", "next ms",
                "prev ms", "not in ms", "offset ms", "notin/nx", "offs/nx");
    for (const QString& w : {QString(), common}) {
        for (qint64 page : {qint64(1000), qint64(30000)}) {
            std::vector<double> jump, next, prev, notIn, offset;
            for (int i = 0; i < kReps; ++i) {
                LogManager log;
                if (!log.OpenLogFile(path)) return 1;
                std::vector<LogRow> a, b, c;
                jump.push_back(TimeMs([&] { a = log.SearchActionLog(w, kPageSize, page); }));
                next.push_back(TimeMs([&] { b = log.SearchActionLog(w, kPageSize, page + 1); }));
                // Back to the page before the jump target: read from the target's bounds.
                prev.push_back(TimeMs([&] { c = log.SearchActionLog(w, kPageSize, page - 1); }));
                std::vector<qint64> n, o;
                if (i < 3 || page < 30000)
                    notIn.push_back(TimeMs([&] { n = raw.notIn(w, page + 1); }));
                offset.push_back(TimeMs([&] { o = raw.offset(w, page + 1); }));
                if (i == 0) {
                    Check(Ids(b) == n && Ids(b) == o && b.size() == size_t(kPageSize), "next page",
                          w, page + 1);
                    Check(Ids(a) == raw.offset(w, page), "jump", w, page);
                    Check(Ids(c) == raw.notIn(w, page - 1), "previous page", w, page - 1);
                }
            }
            const double nx = std::max(MedianMs(next), MedianMs(prev));
            std::printf("%-22s %10.3f %10.3f %10.3f %10.1f %10.1f %9.0f %9.0f\n",
                        qPrintable(QStringLiteral("%1 p%2").arg(Label(w)).arg(page)),
                        MedianMs(jump), MedianMs(next), MedianMs(prev), MedianMs(notIn),
                        MedianMs(offset), MedianMs(notIn) / nx, MedianMs(offset) / nx);
        }
    }

    // Paging on step by step from deep inside: every turn is a range read. Wall and
    // processor time per turn: on a busy machine the wall clock's tail is other processes.
    {
        LogManager log;
        if (!log.OpenLogFile(path)) return 1;
        log.SearchActionLog(common, kPageSize, 30000);
        std::vector<double> wall, cpu;
        auto turn = [&](qint64 p) {
            const double c0 = ThreadCpuMs();
            wall.push_back(TimeMs([&] { log.SearchActionLog(common, kPageSize, p); }));
            cpu.push_back(ThreadCpuMs() - c0);
        };
        for (qint64 p = 30001; p <= 30050; ++p) turn(p);
        for (qint64 p = 30049; p >= 29950; --p) turn(p);
        auto p95 = [](std::vector<double> v) {
            std::sort(v.begin(), v.end());
            return v[v.size() * 95 / 100];
        };
        std::printf("\n150 page turns around page 30000 of '%s' (target 5 ms):\n",
                    qPrintable(common));
        std::printf("  wall:      median %.3f ms, 95th percentile %.3f ms, max %.3f ms\n",
                    MedianMs(wall), p95(wall), *std::max_element(wall.begin(), wall.end()));
        std::printf("  processor: median %.3f ms, 95th percentile %.3f ms, max %.3f ms\n",
                    MedianMs(cpu), p95(cpu), *std::max_element(cpu.begin(), cpu.end()));
    }

    // Commit throughput on the full log: takes of 1-5 rows, one transaction each. The
    // processor time is given too: on a shared, busy machine the wall clock mostly
    // measures the other processes.
    const QString kept = QStringLiteral("INVOICE");
    {
        LogManager log;
        if (!log.OpenLogFile(path)) return 1;
        (void)log.GetActionCount(kept);  // kept by the log from now on
        qint64 rows = 0;
        const double cpu0 = CpuSeconds();
        const double ms = TimeMs([&] {
            for (qint64 t = 0; t < 20000; ++t) rows += CommitOneTake(log, names, t + 1, when);
        });
        const double cpu = CpuSeconds() - cpu0;
        std::printf(
            "\ncommits: %lld rows in 20000 takes of 1-5 rows: %.0f ms, %.0f rows/s "
            "(%.2fx the 50,000 rows/s target); %.0f rows per processor second "
            "(%.2fx)\n",
            static_cast<long long>(rows), ms, rows / (ms / 1000.0), rows / (ms / 1000.0) / 50000.0,
            rows / cpu, rows / cpu / 50000.0);
    }

    // The index is brought up to the newest row by the first search after the commits:
    // what the rows just written cost it.
    {
        LogManager log;
        const double c0 = ThreadCpuMs();
        if (!log.OpenLogFile(path)) return 1;
        const qint64 n = log.GetActionCount(QStringLiteral("zephyr"));
        std::printf(
            "open and first indexed count after those commits (indexes their rows): "
            "%.0f ms processor time, %lld rows\n",
            ThreadCpuMs() - c0, static_cast<long long>(n));
    }

    // A count kept from before the commits, asked again (the index is current by now): the
    // rows written since are added by the scan.
    {
        LogManager log;
        if (!log.OpenLogFile(path)) return 1;
        const double c0 = ThreadCpuMs();
        const qint64 n = log.GetActionCount(kept);
        const double ms = ThreadCpuMs() - c0;
        Check(n == raw.foldedScan(kept), "kept count after commits", kept, 0);
        std::printf("kept count of '%s' after those commits: %.1f ms processor time, %lld rows\n",
                    qPrintable(kept), ms, static_cast<long long>(n));
    }

    std::printf("\nrow mismatches between LogManager, not in and OFFSET: %d\n", g_mismatches);
    return g_mismatches == 0 ? 0 : 2;
}
