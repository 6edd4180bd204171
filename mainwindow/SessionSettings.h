// SPDX-License-Identifier: MIT
#pragma once

#include "mainwindow/SessionState.h"

#include <QObject>
#include <QString>
#include <optional>

class QWidget;

namespace pixtint {

class Dialogs;
struct NumberedMessage;

// The session's settings file, read at the start and written on leaving through the exit
// button, and the user guide; both are found from the program's folder (desktop/AppLocations.h).
// Its message boxes belong to `window`.
class SessionSettings : public QObject {
    Q_OBJECT
public:
    SessionSettings(QWidget& window, Dialogs& dialogs, QString programFolder);

    // Reads the file into `state`. A missing or short file is the normal first start and says
    // nothing; any other failure is shown. Either way a file that could not be read whole
    // leaves the first start's folder in `state`, and its other lines as far as they were read.
    void load(SessionState& state);
    // Written whole or not at all: a failed write is shown and leaves the previous file intact.
    void save(const SessionState& state);
    // Opens the guide in the user's viewer, or says where it was looked for.
    void openReadme();

private:
    bool read(SessionState& state);
    void showError(const NumberedMessage& message);

    QWidget& window_;
    Dialogs& dialogs_;
    QString programFolder_;
};

} // namespace pixtint
