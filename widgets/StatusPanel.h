// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>
#include <QString>

namespace pixtint {

// One sunken text panel of the status bar. A text wider than the panel is shortened in the
// middle with "…", which keeps both the start of a path and its file name in view, and the
// whole text is then the panel's tool tip in place of its own. A font taller than the panel is
// made smaller, so that the text always shows whole, descenders included.
class StatusPanel : public QLabel {
public:
    explicit StatusPanel(QWidget* parent);

    QString fullText() const { return fullText_; }
    void setFullText(const QString& text);
    // Shown while the whole text fits the panel.
    void setOwnToolTip(const QString& tip);
    // The width the panel needs to show its whole text.
    int wholeTextWidth() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void fitFontToHeight();
    void showFitted();

    QString fullText_;
    QString ownToolTip_;
};

} // namespace pixtint
