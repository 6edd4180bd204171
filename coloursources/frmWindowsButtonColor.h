#pragma once

#include "platform/CommandButton.h"
#include "platform/OptionButton.h"
#include "platform/Swatch.h"

#include <QDialog>
#include <array>

namespace pixtint {

// The modal dialog of Windows button-face colours. It hands the chosen colour back as the
// decimal text of its colour value in `tag` (the caller's return channel) when "設 定" is
// pressed, and leaves `tag` alone when it is closed any other way. It is made afresh for every
// opening, so it always opens on "現在のボタン色".
class frmWindowsButtonColor : public QDialog {
    Q_OBJECT
public:
    frmWindowsButtonColor(QString& tag, QWidget* owner);

    // The controls, named as their objectName ("Option1(0)", "Label1(3)", "Command1(1)", ...).
    std::array<OptionButton*, 4> Option1;
    std::array<Swatch*, 4> Label1;
    std::array<CommandButton*, 2> Command1;

private:
    void CreateControls();
    void FitCaptions();
    void Form_Load();
    void Command1_Click(int index);

    QString& tag_;
};

} // namespace pixtint
