#pragma once

#include "platform/Dialogs.h"

#include <cstdio>
#include <functional>

namespace pixtint {

// Benchmarks answer every modal thing at once. A message goes to `onMessage` when one is set,
// at the moment the window shows it; otherwise it is printed, so that a failure is not missed.
class SilentDialogs : public Dialogs {
public:
    void MsgBox(QWidget*, const QString& text, Icon, const QString& title) override {
        if (onMessage) {
            onMessage(text);
            return;
        }
        std::fprintf(stderr, "message [%s]: %s\n", title.toUtf8().constData(),
                     text.toUtf8().constData());
    }
    std::optional<QColor> ShowColor(QWidget*) override { return std::nullopt; }
    std::optional<QString> BrowseForFolder(QWidget*, const QString&) override {
        return std::nullopt;
    }
    void ShowButtonColorDialog(QWidget*, QString&) override {}
    void OpenDocument(const QString&) override {}

    std::function<void(const QString& text)> onMessage;
};

} // namespace pixtint
