#include "actions/process_launcher.h"

#include <QProcess>

namespace vandrel {

bool StartDetachedProcess(const QString& program, const QStringList& args) {
    return QProcess::startDetached(program, args);
}

}  // namespace vandrel
