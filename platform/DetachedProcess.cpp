#include "DetachedProcess.h"

#include <QProcess>

namespace platform {

bool StartDetached(const QString& program, const QStringList& arguments, const QString& workingDirectory) {
    return QProcess::startDetached(program, arguments, workingDirectory);
}

}  // namespace platform
