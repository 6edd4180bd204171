#include "FakeDialogs.h"

void FakeDialogs::MsgBox(QWidget*, const QString& text, Icon icon, const QString& title) {
    messages.push_back({text, icon, title.isEmpty() ? QStringLiteral("Pixtint") : title});
    if (onMessage) {
        onMessage(messages.back());
    }
}

std::optional<QColor> FakeDialogs::ShowColor(QWidget*) {
    ++colourDialogShown;
    if (colourAnswers.empty()) {
        return std::nullopt;
    }
    auto answer = colourAnswers.front();
    colourAnswers.pop_front();
    return answer;
}

std::optional<QString> FakeDialogs::BrowseForFolder(QWidget*, const QString& title) {
    folderTitles << title;
    if (folderAnswers.empty()) {
        return std::nullopt;
    }
    auto answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

void FakeDialogs::ShowButtonColorDialog(QWidget* owner, QString& tag) {
    if (buttonColorDialog) {
        buttonColorDialog(owner, tag);
    }
}

void FakeDialogs::OpenDocument(const QString& path) {
    openedDocuments << path;
}
