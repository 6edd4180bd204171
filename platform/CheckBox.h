#pragma once

#include "platform/Control.h"

#include <QCheckBox>

namespace pixtint {

// A check box whose Value is 0 (clear), 1 (ticked) or 2 (greyed). Click is raised whenever
// the value changes, by the user or by the program, and only then.
class CheckBox : public Control<QCheckBox> {
    Q_OBJECT
public:
    explicit CheckBox(QWidget* parent);

    QString Caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }

    int Value() const;
    // Throws AppError 380 for a value other than 0, 1 or 2.
    void setValue(int value);

signals:
    void Click();
};

} // namespace pixtint
