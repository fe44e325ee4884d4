// Benchmark: organising one folder of 10,000 and 100,000 files (20 extensions, 1-8 KiB)
// through the engine (ListFolderItems + RuleList::DoRunRules, log open, in-use test on,
// every action logged) with 20 rules "Extension is X -> Move to DEST/X" and one rename
// rule, against a bare C++ loop in the same process that lists, stats and moves the same
// number of files into the same layout with renameat2(RENAME_NOREPLACE). Then the same
// with "Copy to" against a bare loop that copies with copy_file_range, keeping mode and
// modification time.
//
// usage: bench_organize [--breakdown] [COUNT...]   (default 10000 100000)
// --breakdown also runs the engine without the log and without the in-use test, to show
// what each costs.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "attributes/attribute_helper.h"
#include "folders/module_check_file.h"
#include "log/log_manager.h"
#include "platform/file_in_use.h"
#include "rules/rule_list.h"

using namespace vandrel;

namespace {

constexpr int kExtensions = 20;
// One file in ten is caught by the rename rule (renamed in place, not moved).
constexpr int kRenameEvery = 10;

std::string Ext(int i) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "e%02d", i);
    return buf;
}

bool MakeFiles(const std::string& dir, int count) {
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> size(1024, 8192);
    std::vector<char> data(8192);
    for (char& c : data) c = static_cast<char>(rng());
    ::mkdir(dir.c_str(), 0755);
    for (int i = 0; i < count; ++i) {
        const std::string name = (i % kRenameEvery == 0 ? "rfile" : "file") + std::to_string(i) +
                                 "." + Ext(i % kExtensions);
        const int fd = ::open((dir + "/" + name).c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0) return false;
        const int n = size(rng);
        const bool ok = ::write(fd, data.data(), n) == n;
        ::close(fd);
        if (!ok) return false;
    }
    return true;
}

bool MakeDestinations(const std::string& dest) {
    ::mkdir(dest.c_str(), 0755);
    for (int e = 0; e < kExtensions; ++e)
        if (::mkdir((dest + "/" + Ext(e)).c_str(), 0755) != 0) return false;
    return true;
}

QString RulesText(const QString& dest, const QString& verb) {
    QStringList rules;
    int n = 0;
    auto guid = [&n] {
        return QStringLiteral("%1-0000-4000-8000-000000000000").arg(++n, 8, 10, QLatin1Char('0'));
    };
    rules << QStringLiteral(
                 "Tag renamed<|RU|>All<|RU|>Name<|CP|>starts with<|CD|>rfile<|RU|>"
                 "Rename<|AP|><//>name<//>-r.<//>extension<//><|AC|>1<|RU|>%1")
                 .arg(guid());
    for (int e = 0; e < kExtensions; ++e) {
        const QString ext = QString::fromStdString(Ext(e));
        rules << QStringLiteral(
                     "Sort %1<|RU|>All<|RU|>Extension<|CP|>is<|CD|>%1<|RU|>"
                     "%2<|AP|>%3/%1<|AC|>0<|AC|><//>date.current<//><|AC|>1<|RU|>%4")
                     .arg(ext, verb, dest, guid());
    }
    return rules.join(QStringLiteral("<|RP|>"));
}

// Returns seconds, or a negative value on failure.
// logPath empty: no log; inUse false: no in-use test.
double RunEngine(const std::string& src, const std::string& dest, const QString& verb,
                 const QString& logPath, int* acted, bool inUse = true) {
    LogManager log;
    if (!logPath.isEmpty() && !log.OpenLogFile(logPath)) return -1;
    AttributeHelper attrs;
    FileInUseProbe probe;
    EngineContext ctx;
    ctx.log = logPath.isEmpty() ? nullptr : &log;
    ctx.attributes = &attrs;
    ctx.inUse = inUse ? &probe : nullptr;
    RuleList rules(ctx);
    rules.LoadFromString(RulesText(QString::fromStdString(dest), verb));
    QElapsedTimer t;
    t.start();
    QStringList files, folders;
    ListFolderItems(QString::fromStdString(src), files, folders);
    *acted = 0;
    for (const QString& f : files)
        if (rules.DoRunRules(f) != QLatin1String(kNoMatchedRule)) ++*acted;
    const double secs = t.nsecsElapsed() / 1e9;
    log.CloseLogFile();
    return secs;
}

std::vector<std::string> ListNames(int dirfd) {
    std::vector<std::string> names;
    DIR* d = ::fdopendir(::dup(dirfd));
    if (!d) return names;
    ::rewinddir(d);
    while (dirent* e = ::readdir(d)) {
        if (e->d_name[0] == '.') continue;
        names.emplace_back(e->d_name);
    }
    ::closedir(d);
    return names;
}

int ExtIndex(const std::string& name) {
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? -1 : std::atoi(name.c_str() + dot + 2);
}

bool CopyOne(int srcDir, const std::string& name, int dstDir, const struct stat& st) {
    const int in = ::openat(srcDir, name.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    const int out = ::openat(dstDir, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (out < 0) {
        ::close(in);
        return false;
    }
    off_t left = st.st_size;
    bool ok = true;
    while (left > 0) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, left, 0);
        if (n <= 0) {
            ok = false;
            break;
        }
        left -= n;
    }
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    ok = ok && ::fchmod(out, st.st_mode & 07777) == 0 && ::futimens(out, times) == 0;
    ::close(in);
    ::close(out);
    return ok;
}

// The bare loop: list, stat, then rename in place (rename rule) or move/copy into the
// extension's folder, never replacing anything.
double RunBare(const std::string& src, const std::string& dest, bool copy, int* acted) {
    QElapsedTimer t;
    t.start();
    const int srcFd = ::open(src.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::vector<int> destFd;
    for (int e = 0; e < kExtensions; ++e)
        destFd.push_back(::open((dest + "/" + Ext(e)).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    *acted = 0;
    for (const std::string& name : ListNames(srcFd)) {
        struct stat st {};
        if (::fstatat(srcFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
            continue;
        const int ext = ExtIndex(name);
        if (ext < 0 || ext >= kExtensions) continue;
        bool ok;
        if (name.rfind("rfile", 0) == 0) {
            const auto dot = name.rfind('.');
            const std::string renamed = name.substr(0, dot) + "-r" + name.substr(dot);
            ok = ::renameat2(srcFd, name.c_str(), srcFd, renamed.c_str(), RENAME_NOREPLACE) == 0;
        } else if (copy) {
            ok = CopyOne(srcFd, name, destFd[ext], st);
        } else {
            ok = ::renameat2(srcFd, name.c_str(), destFd[ext], name.c_str(), RENAME_NOREPLACE) == 0;
        }
        if (ok) ++*acted;
    }
    for (int fd : destFd) ::close(fd);
    ::close(srcFd);
    return t.nsecsElapsed() / 1e9;
}

int CountFiles(const std::string& dir) {
    int n = 0;
    for (int e = 0; e < kExtensions; ++e)
        n += static_cast<int>(
            QDir(QString::fromStdString(dir + "/" + Ext(e))).entryList(QDir::Files).size());
    return n;
}

bool g_breakdown = false;

// One more engine run on a fresh set of files, for the breakdown lines.
void RunVariant(const std::string& base, int count, bool copy, bool withLog, bool inUse,
                const char* label, double bareRate) {
    const std::string src = base + "-variant-src", dest = base + "-variant-dest";
    if (!MakeFiles(src, count) || !MakeDestinations(dest)) return;
    ::sync();
    int acted = 0;
    const double secs = RunEngine(
        src, dest, copy ? QStringLiteral("Copy to") : QStringLiteral("Move to"),
        withLog ? QString::fromStdString(base + "-variant-log.db") : QString(), &acted, inUse);
    if (secs > 0)
        std::printf("  %-25s : %9.0f files/s  (%.1f us/file, %.1f%% of the bare loop)\n", label,
                    count / secs, 1e6 * secs / count, 100.0 * count / secs / bareRate);
    std::fflush(stdout);
    QDir(QString::fromStdString(src)).removeRecursively();
    QDir(QString::fromStdString(dest)).removeRecursively();
}

bool RunCase(const QString& root, int count, bool copy) {
    const std::string base =
        root.toStdString() + (copy ? "/copy" : "/move") + std::to_string(count);
    const std::string engSrc = base + "-engine-src", engDest = base + "-engine-dest";
    const std::string bareSrc = base + "-bare-src", bareDest = base + "-bare-dest";
    if (!MakeFiles(engSrc, count) || !MakeFiles(bareSrc, count) || !MakeDestinations(engDest) ||
        !MakeDestinations(bareDest)) {
        std::fprintf(stderr, "cannot create the test files\n");
        return false;
    }
    ::sync();
    int bareActed = 0, engineActed = 0;
    const double bare = RunBare(bareSrc, bareDest, copy, &bareActed);
    // The bare loop leaves its copies dirty in the page cache; written back during the
    // engine's run they would slow it down, so both runs start from a clean cache.
    ::sync();
    const double engine =
        RunEngine(engSrc, engDest, copy ? QStringLiteral("Copy to") : QStringLiteral("Move to"),
                  QString::fromStdString(base + "-log.db"), &engineActed);
    if (engine < 0) {
        std::fprintf(stderr, "cannot open the log\n");
        return false;
    }
    const double bareRate = count / bare;
    const double engineRate = count / engine;
    const int engineLanded = CountFiles(engDest), bareLanded = CountFiles(bareDest);
    std::printf("%s %d files (20 extensions, 1-8 KiB), 21 rules, log on, in-use test on\n",
                copy ? "copy" : "move", count);
    std::printf("  bare loop (%s) : %9.0f files/s  (%d acted, %d in destination)\n",
                copy ? "copy_file_range" : "renameat2", bareRate, bareActed, bareLanded);
    std::printf(
        "  engine (DoRunRules)       : %9.0f files/s  (%d acted, %d in destination, %.1f "
        "us/file)\n",
        engineRate, engineActed, engineLanded, 1e6 * engine / count);
    std::printf("  ratio                     : %.1f%% of the bare loop (target >= %d%%)\n",
                100.0 * engineRate / bareRate, copy ? 50 : 25);
    std::fflush(stdout);
    if (g_breakdown) {
        RunVariant(base, count, copy, false, true, "engine, no log", bareRate);
        RunVariant(base, count, copy, true, false, "engine, no in-use test", bareRate);
    }
    QDir(QString::fromStdString(engSrc)).removeRecursively();
    QDir(QString::fromStdString(engDest)).removeRecursively();
    QDir(QString::fromStdString(bareSrc)).removeRecursively();
    QDir(QString::fromStdString(bareDest)).removeRecursively();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--breakdown") == 0)
            g_breakdown = true;
        else
            counts.push_back(std::atoi(argv[i]));
    }
    if (counts.empty()) counts = {10000, 100000};
    QTemporaryDir tmp;
    if (!tmp.isValid()) return 1;
    for (bool copy : {false, true})
        for (int count : counts)
            if (count <= 0 || !RunCase(tmp.path(), count, copy)) return 1;
    return 0;
}
