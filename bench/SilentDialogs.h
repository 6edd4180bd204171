#pragma once

#include "platform/Dialogs.h"

#include <cstdio>

namespace pixtint {

// Benchmarks answer every modal thing at once; a message is printed so a failure is not missed.
class SilentDialogs : public Dialogs {
public:
    void MsgBox(QWidget*, const QString& text, Icon, const QString& title) override {
        std::fprintf(stderr, "message [%s]: %s\n", title.toUtf8().constData(),
                     text.toUtf8().constData());
    }
    std::optional<QColor> ShowColor(QWidget*) override { return std::nullopt; }
    std::optional<QString> BrowseForFolder(QWidget*, const QString&) override {
        return std::nullopt;
    }
    void ShowButtonColorDialog(QWidget*, QString&) override {}
    void OpenDocument(const QString&) override {}
};

} // namespace pixtint
