// SPDX-License-Identifier: MIT
#include "dialogs/QtDialogs.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
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

} // namespace pixtint
