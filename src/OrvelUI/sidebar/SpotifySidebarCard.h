#pragma once

// The Spotify card at the foot of the sidebar: the linked account with its initials and a
// "Disconnect" button, or the call to link one. It reads only the link's authorization, which
// the application hands in, and asks for the sign-in and the unlinking through its signals.

#include <optional>

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace orvel {

class SpotifySidebarCard : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Provided by the sidebar")
    Q_PROPERTY(bool linked READ linked NOTIFY authorizationChanged)
    Q_PROPERTY(QString displayName READ displayName NOTIFY authorizationChanged)
    Q_PROPERTY(QString initials READ initials NOTIFY authorizationChanged)

public:
    explicit SpotifySidebarCard(QObject* parent = nullptr);

    // The linked account's name, or none when no account is linked.
    void setAuthorization(std::optional<QString> accountName);

    bool linked() const { return accountName_.has_value(); }
    // An empty account name shows as "Spotify".
    QString displayName() const;
    QString initials() const { return initials(displayName()); }

    // The first letters of the first and last words, or the first two letters of a single word,
    // upper-cased; letters are user-perceived characters.
    static QString initials(const QString& name);

    Q_INVOKABLE void connectAccount() { emit connectRequested(); }
    Q_INVOKABLE void disconnectAccount() { emit disconnectRequested(); }

signals:
    void authorizationChanged();
    void connectRequested();
    void disconnectRequested();

private:
    std::optional<QString> accountName_;
};

}  // namespace orvel
