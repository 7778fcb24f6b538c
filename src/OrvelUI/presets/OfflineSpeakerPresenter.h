#pragma once

// The offline speaker page's presenter: the speaker's short name and its one row, whose volume
// goes to the speaker itself, never to a group.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include "OrvelUI/common/ViewStore.h"
#include "OrvelUI/presets/SpeakerRowListModel.h"

namespace orvel {

class OfflineSpeakerPresenter : public QObject {
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(orvel::ViewStore* store READ store WRITE setStore NOTIFY storeChanged)
    Q_PROPERTY(QString speakerId READ speakerId WRITE setSpeakerId NOTIFY speakerIdChanged)
    Q_PROPERTY(bool exists READ exists NOTIFY titleChanged)
    Q_PROPERTY(QString shortName READ shortName NOTIFY titleChanged)
    Q_PROPERTY(orvel::SpeakerRowListModel* row READ row CONSTANT)

public:
    explicit OfflineSpeakerPresenter(QObject* parent = nullptr);

    ViewStore* store() const { return store_.data(); }
    void setStore(ViewStore* store);
    QString speakerId() const { return speakerId_; }
    void setSpeakerId(const QString& speakerId);
    bool exists() const { return row_.rowCount() > 0; }
    QString shortName() const { return shortName_; }
    SpeakerRowListModel* row() { return &row_; }

    Q_INVOKABLE void setVolume(int percent);

signals:
    void storeChanged();
    void speakerIdChanged();
    void titleChanged();

private:
    void refresh();

    QPointer<ViewStore> store_;
    QMetaObject::Connection watch_;
    QString speakerId_;
    QString shortName_;
    SpeakerRowListModel row_;
};

}  // namespace orvel
