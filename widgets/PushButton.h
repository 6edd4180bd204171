// SPDX-License-Identifier: MIT
#pragma once

#include <QPushButton>

namespace pixtint {

// A push button that Enter clicks as Space does, in the main window as much as in a dialog:
// Qt clicks on Enter only for a dialog's default buttons.
class PushButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace pixtint
