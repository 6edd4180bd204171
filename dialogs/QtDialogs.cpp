// SPDX-License-Identifier: MIT
#include "dialogs/QtDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QKeyEvent>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace pixtint {

namespace {

// Notes an Esc pressed while `box` is the modal widget in front, whichever of its buttons
// has the focus.
class EscapeWatch : public QObject {
public:
    explicit EscapeWatch(const QWidget& box)
        : box_(box) {
        qApp->installEventFilter(this);
    }
    bool pressed() const { return pressed_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
            QApplication::activeModalWidget() == &box_) {
            pressed_ = true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const QWidget& box_;
    bool pressed_ = false;
};

// The last line xdg-open wrote, which says why it failed, or its exit status.
QString openerReason(QProcess& opener) {
    const QStringList lines = QString::fromLocal8Bit(opener.readAllStandardError())
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return lines.isEmpty() ? QStringLiteral("xdg-open: exit status %1").arg(opener.exitCode())
                           : lines.last().trimmed();
}

} // namespace

QtDialogs::QtDialogs(ButtonColourDialog buttonColourDialog)
    : buttonColourDialog_(std::move(buttonColourDialog)) {}

void QtDialogs::showMessage(QWidget* owner, const QString& text, QMessageBox::Icon icon,
                            const QString& title) {
    QMessageBox box(icon, title.isEmpty() ? QStringLiteral("Pixtint") : title, text,
                    QMessageBox::Ok, owner);
    box.exec();
}

std::optional<QColor> QtDialogs::chooseColour(QWidget* owner) {
    QColorDialog dialog(owner);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.selectedColor();
}

std::optional<QString> QtDialogs::chooseFolder(QWidget* owner, const QString& title) {
    const QString folder = QFileDialog::getExistingDirectory(owner, title);
    if (folder.isNull()) {
        return std::nullopt;
    }
    return folder;
}

std::optional<std::int32_t> QtDialogs::chooseButtonColour(QWidget* owner) {
    return buttonColourDialog_ ? buttonColourDialog_(owner) : std::nullopt;
}

bool QtDialogs::showRunFailure(QWidget* owner, const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, owner);
    const EscapeWatch escape(box);
    box.exec();
    return escape.pressed();
}

// Where the desktop opens files with xdg-open, its exit status says whether it could; it may
// come only when the viewer is closed, so it is heard whenever it comes, the window going on.
void QtDialogs::openDocument(QWidget* owner, const QString& path,
                             std::function<void(const QString& reason)> failed) {
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
            failed(QString());
        }
        return;
    }
    // The application's, so that closing the window never ends the viewer xdg-open started.
    auto* process = new QProcess(QCoreApplication::instance());
    process->setStandardOutputFile(QProcess::nullDevice());
    const QPointer<QWidget> alive(owner);
    const auto tell = [alive, failed](const QString& reason) {
        if (alive) {
            failed(reason);
        }
    };
    QObject::connect(process, &QProcess::finished, process,
                     [process, tell](int exitCode, QProcess::ExitStatus status) {
                         if (status != QProcess::NormalExit || exitCode != 0) {
                             tell(openerReason(*process));
                         }
                         process->deleteLater();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, tell](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) {
                             tell(process->errorString());
                             process->deleteLater();
                         }
                     });
    process->start(opener, {path});
}

} // namespace pixtint
