// SPDX-License-Identifier: MIT
#include "desktop/ProgramInfo.h"

#include <QCoreApplication>

namespace pixtint {

namespace ProgramInfo {

QString programFolder() {
    QString folder = QCoreApplication::applicationDirPath();
    while (folder.endsWith(QLatin1Char('/'))) {
        folder.chop(1);
    }
    return folder;
}

int majorVersion() {
    return PIXTINT_VERSION_MAJOR;
}
int minorVersion() {
    return PIXTINT_VERSION_MINOR;
}

} // namespace ProgramInfo

} // namespace pixtint
