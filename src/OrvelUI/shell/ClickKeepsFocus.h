#pragma once

// On the desktop a pointer click on a button does not take the keyboard focus: the window keeps
// it, so the window-wide keys go on working (Space after clicking "Next" plays or pauses rather
// than pressing "Next" again) and a text field keeps what the user is typing. The keyboard still
// reaches every button with Tab. One filter on the application covers every button of every
// window, made now or later.

#include <QObject>

class QEvent;

namespace orvel {

class ClickKeepsFocus : public QObject {
    Q_OBJECT

public:
    // Installs the one filter of the process on the application; later calls do nothing.
    static void install();

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};

}  // namespace orvel
