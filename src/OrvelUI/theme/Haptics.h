#pragma once

// Haptic feedback has no source on the desktop: the views still ask for it where the design
// does, and this stand-in counts the requests so tests can see them.

#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace orvel {

class Haptics : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(int performedCount READ performedCount NOTIFY performed)

public:
    using QObject::QObject;

    int performedCount() const { return count_; }
    Q_INVOKABLE void perform() {
        ++count_;
        emit performed();
    }

signals:
    void performed();

private:
    int count_ = 0;
};

}  // namespace orvel
