#pragma once

// The symbol table as QML sees it: the glyph text for a symbol name.

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace orvel {

class Symbols : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QString fontFamily READ fontFamily CONSTANT)

public:
    using QObject::QObject;

    static QString fontFamily();
    // Empty for a name the table lacks, so a mistyped name draws nothing rather than a box.
    Q_INVOKABLE static QString glyph(const QString& name);
    Q_INVOKABLE static bool isVertical(const QString& name);
};

}  // namespace orvel
