#include "OrvelUI/shell/ClickKeepsFocus.h"

#include <QCoreApplication>
#include <QEvent>
#include <QVariant>

namespace orvel {

void ClickKeepsFocus::install() {
    static ClickKeepsFocus* installed = nullptr;
    if (installed || !QCoreApplication::instance()) return;
    installed = new ClickKeepsFocus(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(installed);
}

bool ClickKeepsFocus::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::TouchBegin: break;
    default: return false;
    }
    // A button takes the focus while it handles the press, by its focus policy. Seen here first,
    // before the press reaches it, the button keeps only the part of its policy that Tab uses.
    if (!watched->inherits("QQuickAbstractButton")) return false;
    const int policy = watched->property("focusPolicy").toInt();
    if ((policy & Qt::ClickFocus) == 0) return false;
    const Qt::FocusPolicy keyboardOnly = (policy & Qt::TabFocus) != 0 ? Qt::TabFocus : Qt::NoFocus;
    watched->setProperty("focusPolicy", QVariant::fromValue(keyboardOnly));
    return false;
}

}  // namespace orvel
