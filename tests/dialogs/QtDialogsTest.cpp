// SPDX-License-Identifier: MIT
#include "dialogs/QtDialogs.h"

#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TestFolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <gtest/gtest.h>

namespace pixtint {

// A run's failure box says whether the user closed it with Esc, whichever button has the focus;
// Enter closes it too, without asking for a stop.
TEST(QtDialogs, AFailureBoxTellsWhetherItWasClosedWithEsc) {
    QtDialogs dialogs({});
    QWidget owner;
    for (const auto& [key, stop] : {std::pair{Qt::Key_Escape, true}, {Qt::Key_Enter, false}}) {
        QTimer::singleShot(0, [key] { QTest::keyClick(QApplication::activeModalWidget(), key); });
        EXPECT_EQ(dialogs.showRunFailure(&owner, "[No.70]", "変換エラー"), stop) << key;
    }
}

// A desktop whose opener fails is heard, with the last words the opener wrote.
TEST(QtDialogs, AGuideTheDesktopCannotOpenIsReported) {
    const TestFolder bin;
    const std::string script = "#!/bin/sh\necho 'xdg-open: no method available for opening' >&2\n"
                               "exit 3\n";
    bin.write("xdg-open", std::vector<std::uint8_t>(script.begin(), script.end()));
    std::filesystem::permissions(bin / "xdg-open", std::filesystem::perms::owner_all);
    const ScopedEnvironment path("PATH", bin.path().string());
    QtDialogs dialogs({});
    QWidget owner;
    std::optional<QString> reason;
    dialogs.openDocument(&owner, "/nowhere/Readme.txt",
                         [&reason](const QString& said) { reason = said; });
    QElapsedTimer waited;
    waited.start();
    while (!reason && waited.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    }
    EXPECT_EQ(reason, "xdg-open: no method available for opening");
}

} // namespace pixtint
