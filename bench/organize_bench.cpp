// Benchmark: organising one folder of 10,000 and 100,000 files (20 extensions, 1-8 KiB)
// through the engine (ListFolderItems + RuleList::DoRunRules, log open, in-use test on,
// every action logged) with 20 rules "Extension is X -> Move to DEST/X" and one rename
// rule, against a bare C++ loop in the same process that lists, stats and moves the same
// number of files into the same layout with renameat2(RENAME_NOREPLACE). Then the same
// with "Copy to" against a bare loop that copies with copy_file_range, keeping mode and
// modification time. The engine and its bare loop take turns item by item, each timed on its
// own, so that both meet the same state of the machine.
//
// usage: bench_organize [--breakdown] [--move | --copy] [COUNT...]   (default 10000 100000)
// --breakdown also runs the engine without the log and without the in-use test, to show
// what each costs; --move or --copy runs only that half.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "attributes/attribute_helper.h"
#include "log/log_manager.h"
#include "platform/file_in_use.h"
#include "platform/module_check_file.h"
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

// The bare loop's files carry a "b" before the extension, so that both sides can share
// one destination (see RunPair).
bool MakeFiles(const std::string& dir, int count, const char* mark) {
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> size(1024, 8192);
    std::vector<char> data(8192);
    for (char& c : data) c = static_cast<char>(rng());
    ::mkdir(dir.c_str(), 0755);
    for (int i = 0; i < count; ++i) {
        const std::string name = (i % kRenameEvery == 0 ? "rfile" : "file") + std::to_string(i) +
                                 mark + "." + Ext(i % kExtensions);
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
    std::sort(names.begin(), names.end());
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
class BareLoop {
  public:
    BareLoop(const std::string& src, const std::string& dest, bool copy) : copy_(copy) {
        srcFd_ = ::open(src.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        for (int e = 0; e < kExtensions; ++e)
            destFd_.push_back(
                ::open((dest + "/" + Ext(e)).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    }
    ~BareLoop() {
        for (int fd : destFd_) ::close(fd);
        ::close(srcFd_);
    }
    std::vector<std::string> list() const { return ListNames(srcFd_); }
    bool take(const std::string& name) const {
        struct stat st {};
        if (::fstatat(srcFd_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
            return false;
        const int ext = ExtIndex(name);
        if (ext < 0 || ext >= kExtensions) return false;
        if (name.rfind("rfile", 0) == 0) {
            const auto dot = name.rfind('.');
            const std::string renamed = name.substr(0, dot) + "-r" + name.substr(dot);
            return ::renameat2(srcFd_, name.c_str(), srcFd_, renamed.c_str(), RENAME_NOREPLACE) ==
                   0;
        }
        if (copy_) return CopyOne(srcFd_, name, destFd_[ext], st);
        return ::renameat2(srcFd_, name.c_str(), destFd_[ext], name.c_str(), RENAME_NOREPLACE) == 0;
    }

  private:
    const bool copy_;
    int srcFd_ = -1;
    std::vector<int> destFd_;
};

// Files in the destination, as {engine's, bare loop's}.
std::pair<int, int> CountFiles(const std::string& dir) {
    std::pair<int, int> n;
    for (int e = 0; e < kExtensions; ++e)
        for (const QString& name :
             QDir(QString::fromStdString(dir + "/" + Ext(e))).entryList(QDir::Files))
            ++(name.endsWith(QStringLiteral("b.") + QString::fromStdString(Ext(e))) ? n.second
                                                                                    : n.first);
    return n;
}

struct PairResult {
    double engine = 0, bare = 0;  // seconds
    int engineActed = 0, bareActed = 0;
    int engineLanded = 0, bareLanded = 0;
};

// Runs the engine and the bare loop over two identical folders, one item of each in turn,
// timing each side on its own. Taking turns gives both sides the same machine: the same
// background write-back, the same state of the file system's allocator, the same other
// work on the machine; run one after the other, whichever comes second pays for what the
// first left behind.
// logPath empty: no log; inUse false: no in-use test. False when setting up fails.
bool RunPair(const std::string& base, int count, bool copy, const QString& logPath, bool inUse,
             PairResult& r) {
    // One destination for both: new files get their inodes near their folder, and on a
    // file system that skips recently freed inodes, the cost of a creation depends on the
    // history of the folder's block group. Sharing the folders shares that cost.
    const std::string engSrc = base + "-engine-src", bareSrc = base + "-bare-src";
    const std::string dest = base + "-dest";
    if (!MakeFiles(engSrc, count, "") || !MakeFiles(bareSrc, count, "b") ||
        !MakeDestinations(dest)) {
        std::fprintf(stderr, "cannot create the test files\n");
        return false;
    }
    LogManager log;
    if (!logPath.isEmpty() && !log.OpenLogFile(logPath)) {
        std::fprintf(stderr, "cannot open the log\n");
        return false;
    }
    AttributeHelper attrs;
    FileInUseProbe probe;
    EngineContext ctx;
    ctx.log = logPath.isEmpty() ? nullptr : &log;
    ctx.attributes = &attrs;
    ctx.inUse = inUse ? &probe : nullptr;
    RuleList rules(ctx);
    rules.LoadFromString(RulesText(QString::fromStdString(dest),
                                   copy ? QStringLiteral("Copy to") : QStringLiteral("Move to")));
    const BareLoop bare(bareSrc, dest, copy);
    ::sync();  // both start from a clean page cache

    QElapsedTimer t;
    qint64 engineNs = 0, bareNs = 0;
    t.start();
    QStringList files, folders;
    ListFolderItems(QString::fromStdString(engSrc), files, folders);
    engineNs += t.nsecsElapsed();
    t.restart();
    const std::vector<std::string> names = bare.list();
    bareNs += t.nsecsElapsed();

    const qsizetype n = std::max<qsizetype>(files.size(), static_cast<qsizetype>(names.size()));
    for (qsizetype i = 0; i < n; ++i) {
        if (i < static_cast<qsizetype>(names.size())) {
            t.restart();
            const bool ok = bare.take(names[static_cast<size_t>(i)]);
            bareNs += t.nsecsElapsed();
            if (ok) ++r.bareActed;
        }
        if (i < files.size()) {
            t.restart();
            const bool acted = rules.DoRunRules(files[i]) != QLatin1String(kNoMatchedRule);
            engineNs += t.nsecsElapsed();
            if (acted) ++r.engineActed;
        }
    }
    // The last takes reach the database when the log closes: part of the engine's work.
    t.restart();
    log.CloseLogFile();
    engineNs += t.nsecsElapsed();
    r.engine = engineNs / 1e9;
    r.bare = bareNs / 1e9;
    std::tie(r.engineLanded, r.bareLanded) = CountFiles(dest);
    return true;
}

bool g_breakdown = false;

// One more pair on fresh files, for the breakdown lines.
void RunVariant(const std::string& base, int count, bool copy, bool withLog, bool inUse,
                const char* label) {
    PairResult r;
    const std::string name = base + "-" + (withLog ? "log" : "nolog") + (inUse ? "-inuse" : "");
    if (!RunPair(name, count, copy, withLog ? QString::fromStdString(name + "-log.db") : QString(),
                 inUse, r))
        return;
    std::printf("  %-25s : %9.0f files/s  (%.1f us/file, %.1f%% of its bare loop)\n", label,
                count / r.engine, 1e6 * r.engine / count, 100.0 * r.bare / r.engine);
    std::fflush(stdout);
}

bool RunCase(const QString& root, int count, bool copy) {
    const std::string base =
        root.toStdString() + (copy ? "/copy" : "/move") + std::to_string(count);
    PairResult r;
    if (!RunPair(base, count, copy, QString::fromStdString(base + "-log.db"), true, r))
        return false;
    const double bareRate = count / r.bare;
    const double engineRate = count / r.engine;
    std::printf("%s %d files (20 extensions, 1-8 KiB), 21 rules, log on, in-use test on\n",
                copy ? "copy" : "move", count);
    std::printf("  bare loop (%s) : %9.0f files/s  (%d acted, %d in destination, %.1f us/file)\n",
                copy ? "copy_file_range" : "renameat2", bareRate, r.bareActed, r.bareLanded,
                1e6 * r.bare / count);
    std::printf(
        "  engine (DoRunRules)       : %9.0f files/s  (%d acted, %d in destination, %.1f "
        "us/file)\n",
        engineRate, r.engineActed, r.engineLanded, 1e6 * r.engine / count);
    std::printf("  ratio                     : %.1f%% of the bare loop (target >= %d%%)\n",
                100.0 * engineRate / bareRate, copy ? 50 : 25);
    std::fflush(stdout);
    if (g_breakdown) {
        RunVariant(base, count, copy, false, true, "engine, no log");
        RunVariant(base, count, copy, true, false, "engine, no in-use test");
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::vector<int> counts;
    std::vector<bool> halves = {false, true};  // copy?
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--breakdown") == 0)
            g_breakdown = true;
        else if (std::strcmp(argv[i], "--move") == 0)
            halves = {false};
        else if (std::strcmp(argv[i], "--copy") == 0)
            halves = {true};
        else
            counts.push_back(std::atoi(argv[i]));
    }
    if (counts.empty()) counts = {10000, 100000};
    // Nothing is removed before the end. On ext4 without a journal (as on these machines) a
    // new file never gets an inode freed in the last minutes, and every creation scans past
    // them: removing one case's files would slow whichever loop happens to create files next.
    QTemporaryDir tmp;
    if (!tmp.isValid()) return 1;
    for (bool copy : halves)
        for (int count : counts)
            if (count <= 0 || !RunCase(tmp.path(), count, copy)) return 1;
    return 0;
}
