// How much the in-use test costs per file when one snapshot of the open-file table
// serves a whole batch, against the floor of a bare stat() per file.
// Prints files/s for both and their ratio; also the cost of one snapshot per descriptor
// and of a fresh snapshot per file (what a per-file scan would cost).
#include <dirent.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

#include "platform/file_in_use.h"
#include "platform/module_check_file.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

// Open descriptors visible in /proc (what one snapshot has to examine).
long CountDescriptors() {
    long count = 0;
    DIR* proc = opendir("/proc");
    if (!proc) return 0;
    while (const dirent* p = readdir(proc)) {
        if (p->d_name[0] < '0' || p->d_name[0] > '9') continue;
        const QByteArray path = QByteArray("/proc/") + p->d_name + "/fd";
        if (DIR* fds = opendir(path.constData())) {
            while (const dirent* f = readdir(fds))
                if (f->d_name[0] != '.') ++count;
            closedir(fds);
        }
    }
    closedir(proc);
    return count;
}

}  // namespace

int main() {
    constexpr int kFiles = 10000;
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/vandrel-bench-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        return 1;
    }
    QStringList paths;
    std::vector<QByteArray> native;
    for (int i = 0; i < kFiles; ++i) {
        const QString p = dir.path() + QStringLiteral("/file%1.txt").arg(i);
        QFile f(p);
        if (!f.open(QIODevice::WriteOnly) || f.write("x") != 1) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(p));
            return 1;
        }
        paths << p;
        native.push_back(QFile::encodeName(p));
    }

    // Baseline: one stat() per file and nothing else. Against it: one shared probe for
    // the whole batch (one /proc scan plus a stat and a lookup per file). The rounds
    // alternate so that load from other programs hits both alike.
    constexpr int rounds = 9;
    double bare = 1e9;
    double shared = 1e9;
    long sink = 0;
    int busy = 0;
    for (int r = 0; r < rounds; ++r) {
        auto t0 = Clock::now();
        for (const QByteArray& p : native) {
            struct stat st {};
            sink += ::stat(p.constData(), &st) == 0 ? 1 : 0;
        }
        bare = std::min(bare, Seconds(t0));

        vandrel::FileInUseProbe probe(60000);
        busy = 0;
        t0 = Clock::now();
        for (const QString& p : paths) busy += vandrel::IsFileFree(p, &probe) ? 0 : 1;
        shared = std::min(shared, Seconds(t0));
    }

    // One snapshot alone, and a fresh snapshot per file on a small sample.
    const long descriptors = CountDescriptors();
    double snapshot = 1e9;
    for (int r = 0; r < rounds; ++r) {
        vandrel::FileInUseProbe probe;
        const auto t0 = Clock::now();
        (void)probe.isInUse(paths.first());
        snapshot = std::min(snapshot, Seconds(t0));
    }
    constexpr int kSample = 50;
    const auto t0 = Clock::now();
    for (int i = 0; i < kSample; ++i) (void)vandrel::IsFileFree(paths[i]);
    const double perFileScan = Seconds(t0) / kSample;

    std::printf("in-use probe over %d files (best of %d)\n", kFiles, rounds);
    std::printf("  bare stat loop          %10.0f files/s  (%.2f ms)\n", kFiles / bare, bare * 1e3);
    std::printf("  IsFileFree shared probe %10.0f files/s  (%.2f ms, %d in use)\n", kFiles / shared,
                shared * 1e3, busy);
    std::printf("  ratio shared probe / bare stat: %.2fx the time (%.0f%% of the throughput)\n",
                shared / bare, 100.0 * bare / shared);
    std::printf("  one snapshot: %.2f ms over %ld descriptors = %.2f us per descriptor\n",
                snapshot * 1e3, descriptors, descriptors ? snapshot * 1e6 / descriptors : 0.0);
    std::printf(
        "  a fresh snapshot per file would give %10.0f files/s (%.0fx slower than shared)\n",
        1.0 / perFileScan, perFileScan * kFiles / shared);
    return sink == static_cast<long>(kFiles) * rounds ? 0 : 1;
}
