// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QCoreApplication;

namespace pixtint {

// The toolkit's own dialogs (the folder chooser, the colour dialog, the buttons of message
// boxes) speak English unless Qt's Japanese translation is installed; the rest of the windows
// speak Japanese. These install it for the life of `application`, from Qt's translations
// folder or from `folder`. Without it the dialogs stay in English and the answer is false:
// the program runs all the same.
bool installQtTranslation(QCoreApplication& application);
bool installQtTranslation(QCoreApplication& application, const QString& folder);

// Loads the translation `file` (from `folder` when given) and installs it for the life of
// `application`; false when it cannot be loaded.
bool installTranslation(QCoreApplication& application, const QString& file,
                        const QString& folder = {});

} // namespace pixtint
