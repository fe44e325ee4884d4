// Helpers shared by the tests: a fresh temporary folder per test, small file writers,
// and a runner for the real vandrel binary.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace vandrel::test {

// A fresh temporary folder, removed at the end of the test.
class TempDir {
  public:
    TempDir();
    const QString& path() const { return path_; }
    // path() + "/" + rel
    QString file(const QString& rel) const;

  private:
    QTemporaryDir dir_;
    QString path_;
};

// Writes bytes to path, creating missing parent folders. False on failure.
bool WriteFile(const QString& path, const QByteArray& bytes);
QByteArray ReadFile(const QString& path);
bool MakeDir(const QString& path);

// A 64 KiB tmpfs mounted at path (created if missing) for one test, to be filled up:
// mounting needs root, mounted() says whether it worked. Unmounted on destruction.
class SmallTmpfs {
  public:
    explicit SmallTmpfs(const QString& path);
    ~SmallTmpfs();
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;
    bool mounted() const { return mounted_; }

  private:
    QString path_;
    bool mounted_ = false;
};

// A child process that keeps path open (as its standard input) until destroyed: a file
// "in use" by another program.
class Holder {
  public:
    explicit Holder(const QString& path);
    ~Holder();
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;
    bool started() const { return started_; }

  private:
    QProcess proc_;
    bool started_ = false;
};

struct ProcessResult {
    int exitCode = -1;
    QString out;
    QString err;
};

// Starts the vandrel binary with args in the environment RunVandrel describes.
void StartVandrel(QProcess& p, const QStringList& args, const QString& home);

// Runs the vandrel binary with args; DISPLAY and WAYLAND_DISPLAY unset, HOME and the XDG
// folders pointed into home (so the user's real home is never touched).
ProcessResult RunVandrel(const QStringList& args, const QString& home, int timeoutMs = 60000,
                         const QByteArray& stdinBytes = {});

// The command line on a fresh home (tmp/home) and data folder (tmp/data).
struct Cli {
    TempDir tmp;
    QString home = tmp.file(QStringLiteral("home"));
    QString data = tmp.file(QStringLiteral("data"));
    // Runs vandrel --data-dir DATA args...
    ProcessResult run(QStringList args) const;
    // Starts vandrel --data-dir DATA args... without waiting (a scheduler, say).
    void start(QProcess& p, const QStringList& args) const;
    // The lines of stdout of a run that succeeded, else one line with the failure.
    QStringList lines(const QStringList& args) const;
    // Writes rules.txt from whole rule texts.
    bool writeRules(const QStringList& rules) const;
    // tmp/rel, made as a folder.
    QString folder(const QString& rel) const;
};

}  // namespace vandrel::test
