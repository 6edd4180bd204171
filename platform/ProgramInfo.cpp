#include "platform/ProgramInfo.h"

#include <QCoreApplication>

namespace pixtint {

namespace ProgramInfo {

QString ProgramFolder() {
    QString folder = QCoreApplication::applicationDirPath();
    while (folder.endsWith(QLatin1Char('/'))) {
        folder.chop(1);
    }
    return folder;
}

int MajorVersion() {
    return PIXTINT_VERSION_MAJOR;
}
int MinorVersion() {
    return PIXTINT_VERSION_MINOR;
}

} // namespace ProgramInfo

} // namespace pixtint
