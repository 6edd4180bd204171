#pragma once

#include "platform/Control.h"

#include <QRadioButton>

namespace pixtint {

// An option button of an exclusive group. Selecting one deselects the others; the program may
// also deselect one without selecting another, leaving the group showing nothing selected.
// Click is raised when the button becomes selected, and when the program changes its value.
class OptionButton : public Control<QRadioButton> {
    Q_OBJECT
public:
    explicit OptionButton(QWidget* parent);

    QString Caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }

    bool Value() const { return isChecked(); }
    void setValue(bool selected);

signals:
    void Click();
};

} // namespace pixtint
