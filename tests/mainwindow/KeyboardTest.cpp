#include "tests/mainwindow/MainWindowFixture.h"

#include <QApplication>
#include <QTest>

namespace pixtint {

// The keyboard as the user meets it: keys go to the widget that has the focus.
class KeyboardTest : public MainWindowFixture {
protected:
    void startActive() {
        pictures.write("icon.bmp", makeBmp24(16, 15, Blue)); // offers the size options too
        rememberPictureFolder();
        start();
        QApplication::setActiveWindow(window.get());
    }
    void press(Qt::Key key) {
        QTest::keyClick(QApplication::focusWidget(), key);
        settle();
    }
    QString focused() const { return QApplication::focusWidget()->objectName(); }
};

TEST_F(KeyboardTest, EnterClicksTheFocusedButtonAsSpaceDoes) {
    startActive();
    readmeButton()->setFocus();
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
        press(key);
    }
    EXPECT_EQ(dialogs.openedDocuments.size(), 3);
}

TEST_F(KeyboardTest, TabFollowsTheRowsOfTheWindowLeftToRightTopToBottom) {
    startActive();
    browseButton()->setFocus();
    QStringList visited{focused()};
    for (int i = 0; i < 15; ++i) {
        press(Qt::Key_Tab);
        visited << focused();
    }
    EXPECT_EQ(visited.join(' ').toStdString(),
              "Command2 ListView1 Command3 "
              "Command5(0) Command5(2) Command5(4) "
              "Command5(1) Command5(3) Command5(5) "
              "Check2 Option1(0) Check1 Command7 Command4 Command1 Command2");
}

} // namespace pixtint
