// SPDX-License-Identifier: MIT
#pragma once

#include "dialogs/Dialogs.h"

#include <QColor>
#include <cstdio>
#include <functional>
#include <optional>

namespace pixtint {

// Benchmarks answer every modal thing at once. A message goes to `onMessage` when one is set,
// at the moment the window shows it; otherwise it is printed, so that a failure is not missed.
class SilentDialogs : public Dialogs {
public:
    void showMessage(QWidget*, const QString& text, QMessageBox::Icon,
                     const QString& title) override {
        if (onMessage) {
            onMessage(text);
            return;
        }
        std::fprintf(stderr, "message [%s]: %s\n", title.toUtf8().constData(),
                     text.toUtf8().constData());
    }
    std::optional<QColor> chooseColour(QWidget*) override { return colourAnswer; }
    std::optional<QString> chooseFolder(QWidget*, const QString&) override { return std::nullopt; }
    std::optional<std::int32_t> chooseButtonColour(QWidget*) override { return std::nullopt; }
    void openDocument(QWidget*, const QString&, std::function<void(const QString&)>) override {}

    std::function<void(const QString& text)> onMessage;
    std::optional<QColor> colourAnswer; // what the colour dialog answers
};

} // namespace pixtint
