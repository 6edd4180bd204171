#include "coloursources/frmWindowsButtonColor.h"
#include "mainwindow/StartUp.h"
#include "platform/QtDialogs.h"
#include "platform/QtTranslation.h"

#include <QApplication>

using namespace pixtint;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    InstallQtTranslation(application);
    QtDialogs dialogs([](QWidget* owner, QString& tag) {
        // A fresh dialog for every opening, gone when it closes.
        frmWindowsButtonColor dialog(tag, owner);
        dialog.exec();
    });
    auto window = Main(dialogs);
    return application.exec();
}
