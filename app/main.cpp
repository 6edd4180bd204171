#include "QtDialogs.h"
#include "StartUp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QtDialogs dialogs(nullptr);
    auto window = Main(dialogs);
    return application.exec();
}
