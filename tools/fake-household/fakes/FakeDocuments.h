#pragma once

// The documents the fake speakers serve: zone group state, device description, status pages
// and DIDL-Lite metadata, shaped as the speakers shape them.

#include <optional>

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>

#include "fakes/FakeHouseholdModel.h"

namespace orvel::fakes {

// Escapes &, <, >, " and ' for element text and attribute values.
QString xmlEscaped(const QString& text);

// A DIDL-Lite document holding one item per track; ids "Q:0/<n>" from `firstNumber` on.
QString queueDidl(const QList<FakeTrack>& tracks, int firstNumber);
// A DIDL-Lite document for the track that plays now.
QString trackDidl(const FakeTrack& track);
// A DIDL-Lite document for a radio stream: station title and what it announces.
QString streamDidl(const QString& title, const QString& streamContent);
// The track described by enqueued metadata; fields the metadata lacks stay empty.
FakeTrack trackFromDidl(const QString& uri, const QString& didl);

// The escaped-once value of ZoneGroupState: every visible group, satellites under their rooms.
QString zoneGroupState(const FakeHouseholdModel& model);

QByteArray deviceDescription(const FakeSpeaker& speaker);
QByteArray batteryStatusPage(const FakeBattery& battery);
// Plain text: one line per neighbour heard, with its hardware address and signal strength.
QByteArray radioStatusPage(const FakeSpeaker& speaker, const FakeHouseholdModel& model);
// One saved grouping as the household keeps it in its presets value: members without the
// coordinator, in ascending order.
QJsonObject presetEntry(const QString& id, const QString& name, const QString& coordinator, QStringList members);

QByteArray accountsPage(const QList<FakeAccount>& accounts, const QString& lastUpdateDevice);

} // namespace orvel::fakes
