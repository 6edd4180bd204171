// Opens the main window on the program folder given and presses "変換実行", answering every
// message at once. The crash test kills it part-way through the batch.
//
//   batch_crash_child <program-folder>

#include "Dialogs.h"
#include "StartUp.h"

#include <QApplication>
#include <QFile>

namespace {

class AnsweringDialogs : public Dialogs {
public:
    void MsgBox(QWidget*, const QString&, Icon, const QString&) override {}
    std::optional<QColor> ShowColor(QWidget*) override { return std::nullopt; }
    std::optional<QString> BrowseForFolder(QWidget*, const QString&) override {
        return std::nullopt;
    }
    void ShowButtonColorDialog(QWidget*, QString&) override {}
    void OpenDocument(const QString&) override {}
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    QApplication application(argc, argv);
    AnsweringDialogs dialogs;
    const auto window = Main(dialogs, QFile::decodeName(argv[1]));
    window->Command4->click();
    return 0;
}
