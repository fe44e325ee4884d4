// Test-only: an engine context over a fresh temporary folder with a real log store, a
// real attribute reader and a fake clock, plus a prompt that records what it was asked.
#pragma once

#include <sys/stat.h>
#include <sys/time.h>

#include <QFile>
#include <ostream>
#include <vector>

#include "actions/action_prompt.h"
#include "attributes/attribute_helper.h"
#include "log/log_manager.h"
#include "platform/clock.h"
#include "rules/engine_context.h"
#include "support/test_util.h"

// Readable QString values in gtest failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace vandrel::test {

class RecordingPrompt final : public ActionPrompt {
  public:
    explicit RecordingPrompt(bool yes) : answer(yes) {}
    bool Confirm(const QString& title, const QString& text) override {
        questions.push_back(title + QStringLiteral(": ") + text);
        return answer;
    }
    void ReportFailure(const QString& message) override { failures.push_back(message); }

    bool answer;
    std::vector<QString> questions;
    std::vector<QString> failures;
};

struct ActionEnv {
    ActionEnv() : attrs(&clock), log(&clock) {
        log.OpenLogFile(dir.file(QStringLiteral("log.db")));
        ctx.log = &log;
        ctx.attributes = &attrs;
        ctx.clock = &clock;
    }
    // Commits the pending records and returns every row of the log, newest first.
    std::vector<LogRow> commitAndRead(const QString& title = QStringLiteral("rule")) {
        log.CommitToLogFile(title);
        return log.SearchActionLog(QString(), 1000, 1);
    }
    QString path(const QString& rel) const { return dir.file(rel); }

    TempDir dir;
    FakeClock clock;
    AttributeHelper attrs;
    LogManager log;
    EngineContext ctx;
};

// Sets a file's modification time (local time).
inline bool SetModified(const QString& path, const QDateTime& when) {
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite)) return false;
    return f.setFileTime(when, QFileDevice::FileModificationTime);
}

}  // namespace vandrel::test
