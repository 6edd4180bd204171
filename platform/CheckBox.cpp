#include "platform/CheckBox.h"

#include "engine/AppError.h"

namespace pixtint {

CheckBox::CheckBox(QWidget* parent)
    : Control<QCheckBox>(parent) {
    connect(this, &QCheckBox::stateChanged, this, &CheckBox::Click);
}

int CheckBox::Value() const {
    switch (checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

void CheckBox::setValue(int value) {
    if (value < 0 || value > 2) {
        throw AppError(ErrorNumber::InvalidPropertyValue);
    }
    if (value == 2) {
        setTristate(true);
    }
    setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

} // namespace pixtint
