#pragma once

// Every test that starts a household takes its own block of loopback addresses,
// 127.201.<block>.2 and up, so tests run in parallel; blocks are noted per file.

#include <memory>

#include <QHostAddress>

#include "SoapTestClient.h"
#include "fakes/FakeHousehold.h"

namespace orvel::fakes::testing {

inline QHostAddress blockAddress(int block, int host) {
    return QHostAddress(QStringLiteral("127.201.%1.%2").arg(block).arg(host));
}

inline std::unique_ptr<FakeHousehold> makeHousehold(int block, int count) {
    return std::make_unique<FakeHousehold>(blockAddress(block, 2), count);
}

inline QString queueUriOf(const QString& uuid) { return QStringLiteral("x-rincon-queue:") + uuid + QStringLiteral("#0"); }

inline FakeTrack testTrack(int n, int seconds = 200) {
    FakeTrack track;
    track.uri = QStringLiteral("x-file-cifs://nas/music/%1.mp3").arg(n);
    track.title = QStringLiteral("Track %1").arg(n);
    track.creator = QStringLiteral("Artist %1").arg(n);
    track.album = QStringLiteral("Album");
    track.albumArtUri = QStringLiteral("/getaa?s=1&u=%1").arg(n);
    track.durationSeconds = seconds;
    return track;
}

inline QList<FakeTrack> testTracks(int count) {
    QList<FakeTrack> tracks;
    for (int i = 1; i <= count; ++i) tracks << testTrack(i);
    return tracks;
}

} // namespace orvel::fakes::testing
