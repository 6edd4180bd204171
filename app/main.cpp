#include "QtDialogs.h"
#include "StartUp.h"
#include "frmWindowsButtonColor.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QtDialogs dialogs([](QWidget* owner, QString& tag) {
        // A fresh dialog for every opening, gone when it closes.
        frmWindowsButtonColor dialog(tag, owner);
        dialog.exec();
    });
    auto window = Main(dialogs);
    return application.exec();
}
