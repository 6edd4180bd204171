#pragma once

#include "Dialogs.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

// Answers the windows' modal things in tests: records every message box and hands out the
// answers queued for the colour dialog and the folder chooser (cancel when none is queued).
class FakeDialogs : public Dialogs {
public:
    struct Message {
        QString text;
        Icon icon;
        QString title; // as shown: "Pixtint" when the caller gave none
    };

    void MsgBox(QWidget* owner, const QString& text, Icon icon, const QString& title) override;
    std::optional<QColor> ShowColor(QWidget* owner) override;
    std::optional<QString> BrowseForFolder(QWidget* owner, const QString& title) override;
    void ShowButtonColorDialog(QWidget* owner, QString& tag) override;
    void OpenDocument(const QString& path) override;

    std::vector<Message> messages;
    std::deque<std::optional<QColor>> colourAnswers;
    std::deque<std::optional<QString>> folderAnswers;
    QStringList folderTitles;
    QStringList openedDocuments;
    int colourDialogShown = 0;
    // What the button-colour dialog does; by default it is closed without an answer.
    std::function<void(QWidget* owner, QString& tag)> buttonColorDialog;
    // Runs inside every message box, e.g. to look at the window while the box is up.
    std::function<void(const Message&)> onMessage;
};
