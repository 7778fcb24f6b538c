#include "ShowcaseHousehold.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <utility>

#include "fakes/FakeDocuments.h"
#include "fakes/FakeHousehold.h"

namespace orvel::fakes {

namespace {

struct ShowcaseSpeaker {
    const char* room;
    const char* modelName;
    const char* modelNumber;
    const char* displayName;
};

// Satellites carry their main room's name, as the speakers report it.
constexpr ShowcaseSpeaker speakers[] = {
    {"Living Room", "Sonos Arc", "S19", "Arc"},            // 0 home theatre, on TV sound
    {"Living Room", "Sonos Era 100", "S39", "Era 100"},    // 1 rear left
    {"Living Room", "Sonos Era 100", "S39", "Era 100"},    // 2 rear right
    {"Living Room", "Sonos Sub", "S15", "Sub"},            // 3 sub
    {"Kitchen", "Sonos Era 300", "S41", "Era 300"},        // 4 group of three, coordinator
    {"Dining Room", "Sonos Five", "S23", "Five"},          // 5
    {"Office", "Sonos One", "S18", "One"},                 // 6
    {"Bedroom", "Sonos One", "S18", "One"},                // 7 stereo pair, paused
    {"Bedroom", "Sonos One", "S18", "One"},                // 8 right of the pair
    {"Patio", "Sonos Move", "S17", "Move"},                // 9 on battery
    {"Bathroom", "Sonos Roam", "S27", "Roam"},             // 10 on its charger
    {"Study", "SYMFONISK Bookshelf", "S21", "SYMFONISK Bookshelf"},  // 11 radio
    {"Garage", "Sonos Amp", "S16", "Amp"},                 // 12 goes offline
};
constexpr int dropoutIndex = 12;
constexpr int dropoutDelayMs = 4000;

FakeTrack track(int n, const char* title, const char* artist, const char* album, int seconds) {
    return FakeTrack::spotify(QStringLiteral("6rqhFgbbKwnb9MLmUQDhG%1").arg(n), title, artist, album, seconds);
}

}  // namespace

int seedShowcase(FakeHousehold& household, const QHostAddress& first) {
    QStringList ids;
    int index = 0;
    for (const ShowcaseSpeaker& s : speakers) {
        FakeSpeaker speaker;
        speaker.address = FakeHousehold::addressAfter(first, index);
        speaker.uuid = FakeHousehold::uuidFor(speaker.address);
        speaker.roomName = QString::fromUtf8(s.room);
        speaker.modelName = QString::fromUtf8(s.modelName);
        speaker.modelNumber = QString::fromUtf8(s.modelNumber);
        speaker.displayName = QString::fromUtf8(s.displayName);
        speaker.volume = 18 + (index * 9) % 45;
        ids << household.addSpeaker(std::move(speaker));
        ++index;
    }
    FakeHouseholdModel& model = household.model();

    model.bond(ids[0], ids[1], SatelliteRole::RearLeft);
    model.bond(ids[0], ids[2], SatelliteRole::RearRight);
    model.bond(ids[0], ids[3], SatelliteRole::Subwoofer);
    model.bond(ids[7], ids[8], SatelliteRole::StereoRight);

    model.editSpeaker(ids[9]).battery = FakeBattery{64, QStringLiteral("BATTERY"), QStringLiteral("NORMAL")};
    model.editSpeaker(ids[10]).battery = FakeBattery{17, QStringLiteral("SONOS_CHARGING_RING"), QStringLiteral("NORMAL")};

    model.setQueue(ids[4], {track(1, "Morning Light", "The Quiet Rooms", "Open House", 211),
                            track(2, "Kitchen Radio", "Ada & The Tiles", "Floorplans", 187),
                            track(3, "Stairwell Echo", "The Quiet Rooms", "Open House", 245),
                            track(4, "Café Noir", "Léa Mercier", "Rue des Jardins", 198)});
    FakePlayback& playing = model.editSpeaker(ids[4]).playback;
    playing.currentUri = QStringLiteral("x-rincon-queue:") + ids[4] + QStringLiteral("#0");
    playing.trackNumber = 2;
    playing.relSeconds = 74;
    playing.transportState = QStringLiteral("PLAYING");
    model.setGroup({ids[4], ids[5], ids[6]});

    model.setQueue(ids[7], {track(5, "Low Tide", "Harbour Lights", "Coastal", 302)});
    FakePlayback& paused = model.editSpeaker(ids[7]).playback;
    paused.currentUri = QStringLiteral("x-rincon-queue:") + ids[7] + QStringLiteral("#0");
    paused.trackNumber = 1;
    paused.relSeconds = 131;
    paused.transportState = QStringLiteral("PAUSED_PLAYBACK");

    model.playRadioStation(ids[11], QStringLiteral("PLAYING"));
    model.playTvAudio(ids[0]);
    model.spreadRadioReadings(52, 6);
    model.setAccounts({FakeAccount{}});
    model.setSystemProperty(QStringLiteral("Orvella_SystemName"), QStringLiteral("Showcase Household"));
    const QJsonArray presets{
        presetEntry(QStringLiteral("6F1C2A4E-3B7D-4C15-9A0E-5D2B8C7F1A01"), QStringLiteral("Downstairs"), ids[0], {ids[4], ids[5]}),
        presetEntry(QStringLiteral("0B9E7D3C-2A14-4F68-8C5B-1E3D9A7F6B02"), QStringLiteral("Evening"), ids[4], {ids[7], ids[9]}),
    };
    model.setSystemProperty(QStringLiteral("Orvella_Presets_v1"),
                            QString::fromUtf8(QJsonDocument(presets).toJson(QJsonDocument::Compact)));
    return index;
}

void renameShowcaseRoomsHostile(FakeHousehold& household) {
    QString flood = QStringLiteral("P");
    for (int i = 0; i < 40; ++i) flood += QChar(0x0300 + i % 0x30);
    flood += QStringLiteral("atio");
    QString twoHundred;
    while (twoHundred.size() < 200) twoHundred += QStringLiteral("Bathroom Annex ");
    twoHundred.truncate(200);
    const std::pair<int, QString> names[] = {
        {5, QStringLiteral("Upstairs Guest Bedroom by the Long Hallway Window")},
        {6, QString::fromUtf8("غرفة المعيشة")},
        {9, flood},
        {10, twoHundred},
        {11, QStringLiteral("   ")},
        {12, QString()},
    };
    const QStringList ids = household.speakerIds();
    for (const auto& [index, name] : names) {
        if (index < ids.size()) household.model().editSpeaker(ids[index]).roomName = name;
    }
}

void scheduleShowcaseDropout(FakeHousehold& household, const QHostAddress& first) {
    const QString leaving = FakeHousehold::uuidFor(FakeHousehold::addressAfter(first, dropoutIndex));
    auto* watch = new QObject(&household);
    QObject::connect(&household, &FakeHousehold::requestReceived, watch,
                     [watch, leaving, target = QPointer<FakeHousehold>(&household)](const FakeRequest& request) {
                         if (request.speaker != leaving) return;
                         watch->deleteLater();
                         QTimer::singleShot(dropoutDelayMs, target, [target, leaving] {
                             if (target) target->setReachability(leaving, Reachability::Refused);
                         });
                     });
}

}  // namespace orvel::fakes
