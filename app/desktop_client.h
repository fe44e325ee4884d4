// The command line's end of the desktop program's local channel: finds out whether a
// desktop program holds a data folder and, if so, hands it one request and waits for
// its reply. Blocking; needs no event loop, so it also runs on a plain thread.
#pragma once

#include <QJsonObject>
#include <QString>

namespace vandrel {

struct DesktopHandover {
    enum class Status {
        NotRunning,  // no desktop program holds the folder: change the files directly
        Answered,    // reply holds the program's answer
        NoAnswer,    // a desktop program holds the folder but gave no answer in time
    };
    Status status = Status::NotRunning;
    QJsonObject reply;  // when Answered: status, out, err (see desktop_protocol.h)
    qint64 pid = 0;     // the program's process id, when known
    QString problem;    // when NoAnswer: what went wrong, for the message
};

// timeoutMs: how long to wait in all for the program (which may still be starting).
DesktopHandover SendToDesktop(const QString& dataDir, const QJsonObject& request, int timeoutMs);

}  // namespace vandrel
