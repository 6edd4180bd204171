#pragma once

#include "platform/Twips.h"

#include <QString>
#include <QWidget>

namespace pixtint {

// A top-level window with the classic measures: Width and Height are its outer size, borders
// and title bar included; ScaleWidth and ScaleHeight the size of its client area. All in twips.
class Form : public QWidget {
public:
    static constexpr int DefaultPointer = 0;
    static constexpr int BusyPointerValue = 11;

    explicit Form(QWidget* parent = nullptr);

    QString Caption() const { return windowTitle(); }
    void setCaption(const QString& caption) { setWindowTitle(caption); }

    double Width() const;
    double Height() const;
    void setWidth(double twips);
    void setHeight(double twips);
    double ScaleWidth() const { return Twips::fromPixels(width()); }
    double ScaleHeight() const { return Twips::fromPixels(height()); }
    // Sizes the client area, as a window is created at its design size.
    void setClientSize(double widthTwips, double heightTwips);
    void centreOnScreen();

    // 11 while a busy pointer is shown for this window, else 0.
    int MousePointer() const { return busyDepth_ > 0 ? BusyPointerValue : DefaultPointer; }

private:
    friend class BusyPointer;
    QSize frameExtra() const;

    int busyDepth_ = 0;
};

// Shows the busy pointer over the application while it lives; the pointer comes back however
// the scope is left, a thrown error included. Nested guards keep it busy until the outermost ends.
class BusyPointer {
public:
    explicit BusyPointer(Form& form);
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    Form& form_;
};

} // namespace pixtint
