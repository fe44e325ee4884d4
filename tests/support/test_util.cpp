#include "support/test_util.h"

#include <sys/mount.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace vandrel::test {

TempDir::TempDir() : dir_(QDir::tempPath() + QStringLiteral("/vandrel-test-XXXXXX")) {
    path_ = QFileInfo(dir_.path()).canonicalFilePath();
}

QString TempDir::file(const QString& rel) const { return path_ + QLatin1Char('/') + rel; }

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return f.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool MakeDir(const QString& path) { return QDir().mkpath(path); }

Holder::Holder(const QString& path) {
    proc_.setStandardInputFile(path);
    proc_.start(QStringLiteral("sleep"), {QStringLiteral("60")});
    started_ = proc_.waitForStarted(10000);
}

Holder::~Holder() {
    proc_.kill();
    proc_.waitForFinished(10000);
}

void StartVandrel(QProcess& p, const QStringList& args, const QString& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/runtime"));
    QDir().mkpath(home + QStringLiteral("/runtime"));
    QFile::setPermissions(home + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VANDREL_BINARY), args);
}

ProcessResult RunVandrel(const QStringList& args, const QString& home, int timeoutMs,
                         const QByteArray& stdinBytes) {
    QProcess p;
    StartVandrel(p, args, home);
    ProcessResult r;
    if (!p.waitForStarted(10000)) return r;
    if (!stdinBytes.isEmpty()) p.write(stdinBytes);
    p.closeWriteChannel();
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

ProcessResult Cli::run(QStringList args) const {
    MakeDir(home);
    return RunVandrel(QStringList{QStringLiteral("--data-dir"), data} + args, home);
}

void Cli::start(QProcess& p, const QStringList& args) const {
    StartVandrel(p, QStringList{QStringLiteral("--data-dir"), data} + args, home);
}

QStringList Cli::lines(const QStringList& args) const {
    const ProcessResult r = run(args);
    return r.exitCode == 0 ? r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                           : QStringList{QStringLiteral("exit %1: ").arg(r.exitCode) + r.err};
}

bool Cli::writeRules(const QStringList& rules) const {
    return WriteFile(data + QStringLiteral("/rules.txt"),
                     rules.join(QStringLiteral("<|RP|>")).toUtf8() + "\r\n");
}

QString Cli::folder(const QString& rel) const {
    MakeDir(tmp.file(rel));
    return tmp.file(rel);
}

SmallTmpfs::SmallTmpfs(const QString& path) : path_(path) {
    MakeDir(path_);
    mounted_ = ::geteuid() == 0 && ::mount("vandrel-test", QFile::encodeName(path_).constData(),
                                           "tmpfs", 0, "size=64k") == 0;
}

SmallTmpfs::~SmallTmpfs() {
    if (mounted_) ::umount2(QFile::encodeName(path_).constData(), MNT_DETACH);
}

}  // namespace vandrel::test
