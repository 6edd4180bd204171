// SPDX-License-Identifier: MIT
#include <QApplication>
#include <gtest/gtest.h>

// GUI tests need the QApplication before any widget or pixmap exists. Listing the tests (as
// CTest does when it discovers them) needs no display, so no application is made for it.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
