// SPDX-License-Identifier: MIT
#pragma once

#include "dialogs/Dialogs.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

namespace pixtint {

// Answers the windows' modal things in tests: records every message box and hands out the
// answers queued for the colour dialog and the folder chooser (cancel when none is queued).
class FakeDialogs : public Dialogs {
public:
    struct Message {
        QString text;
        QMessageBox::Icon icon;
        QString title; // as shown: "Pixtint" when the caller gave none
    };

    void showMessage(QWidget*, const QString& text, QMessageBox::Icon icon,
                     const QString& title) override {
        messages.push_back({text, icon, title.isEmpty() ? QStringLiteral("Pixtint") : title});
        if (onMessage) {
            onMessage(messages.back());
        }
    }
    std::optional<QColor> chooseColour(QWidget*) override { return nextOf(colourAnswers); }
    std::optional<QString> chooseFolder(QWidget*, const QString& title) override {
        folderTitles << title;
        return nextOf(folderAnswers);
    }
    std::optional<std::int32_t> chooseButtonColour(QWidget* owner) override {
        return buttonColourDialog ? buttonColourDialog(owner) : std::nullopt;
    }
    bool showRunFailure(QWidget* owner, const QString& text, const QString& title) override {
        showMessage(owner, text, QMessageBox::Critical, title);
        return std::exchange(escapeThisBox, false);
    }
    void openDocument(QWidget*, const QString& path,
                      std::function<void(const QString&)> failed) override {
        openedDocuments << path;
        if (openFailure) {
            failed(*openFailure);
        }
    }

    std::vector<Message> messages;
    std::deque<std::optional<QColor>> colourAnswers;
    std::deque<std::optional<QString>> folderAnswers;
    QStringList folderTitles;
    QStringList openedDocuments;
    // What the button-colour dialog does; by default it is closed without an answer.
    std::function<std::optional<std::int32_t>(QWidget* owner)> buttonColourDialog;
    // Runs inside every message box, e.g. to look at the window while the box is up.
    std::function<void(const Message&)> onMessage;
    // Set inside a run's failure box: the user closes it with Esc.
    bool escapeThisBox = false;
    // The desktop's reason when it cannot open documents; by default it opens them.
    std::optional<QString> openFailure;

private:
    template <typename T> static std::optional<T> nextOf(std::deque<std::optional<T>>& answers) {
        if (answers.empty()) {
            return std::nullopt;
        }
        // Taken by swap: GCC's optimiser warns, wrongly, that a copy of an empty optional
        // QString reads its uninitialised storage.
        std::optional<T> answer;
        answer.swap(answers.front());
        answers.pop_front();
        return answer;
    }
};

} // namespace pixtint
