#pragma once

// The in-memory household behind the fake speakers: rooms, models, bonds, groups, playback and
// queues, volumes, telemetry, household strings and the music-service accounts. Every fake speaker
// reads and changes this one model, so what one speaker is told the others report.
//
// Identifiers are plain strings. The test-facing accessors throw std::out_of_range for an unknown
// speaker, which a test reports as a failure.

#include <expected>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include <QHostAddress>
#include <QList>
#include <QString>
#include <QStringList>

namespace orvel::fakes {

enum class SatelliteRole { RearLeft, RearRight, Subwoofer, StereoRight };

struct FakeTrack {
    QString uri;
    QString title;
    QString creator;
    QString album;
    QString albumArtUri;  // "/getaa?..." (relative to the speaker) or absolute
    int durationSeconds = 0;
    QString itemClass = QStringLiteral("object.item.audioItem.musicTrack");

    friend bool operator==(const FakeTrack&, const FakeTrack&) = default;

    // A Spotify track in the queue, its picture served by the speaker itself.
    static FakeTrack spotify(const QString& spotifyId, const char* title, const char* artist, const char* album,
                             int seconds);
};

struct FakeBattery {
    int level = 100;
    QString powerSource = QStringLiteral("BATTERY");  // anything else: on the charger
    QString temperature = QStringLiteral("NORMAL");

    friend bool operator==(const FakeBattery&, const FakeBattery&) = default;
};

// What a speaker hears of one neighbour: rendered on its radio page with the neighbour's
// hardware address.
struct FakeRadioReading {
    QString peer;
    int rssi = 0;

    friend bool operator==(const FakeRadioReading&, const FakeRadioReading&) = default;
};

struct FakeAccount {
    QString type = QStringLiteral("3079");
    QString serialNumber = QStringLiteral("2");
    bool deleted = false;
    QString userName = QStringLiteral("listener");

    friend bool operator==(const FakeAccount&, const FakeAccount&) = default;
};

// What a speaker's transport holds. Only a coordinator's playback is heard; a grouped member
// reports its coordinator's.
struct FakePlayback {
    QString transportState = QStringLiteral("NO_MEDIA_PRESENT");
    QString currentUri;
    QString currentUriMetaData;
    QList<FakeTrack> queue;
    int trackNumber = 0;  // 1-based position in the queue; 0: none
    int relSeconds = 0;
    QString streamContent;  // what a radio stream announces ("Artist - Title")
    // Member volumes taken by SnapshotGroupVolume, the base of the next SetGroupVolume.
    std::map<QString, int> groupVolumeSnapshot;

    bool playsQueue() const { return currentUri.startsWith(QStringLiteral("x-rincon-queue:")); }
};

struct FakeSpeaker {
    QString uuid;
    QHostAddress address;
    QString roomName;
    QString displayName;
    QString modelName;
    QString modelNumber;
    QString serialNumber;
    QString macAddress;  // "00:0E:58:C9:03:02"
    QString softwareVersion = QStringLiteral("79.1-56030");
    int volume = 20;
    std::optional<FakeBattery> battery;
    QList<FakeRadioReading> radio;
    std::optional<int> noiseFloor;
    // Set on a satellite: the speaker it is bonded to and its role there.
    QString bondedTo;
    std::optional<SatelliteRole> role;
    // Left out of the topology and listed as vanished.
    bool vanished = false;
    FakePlayback playback;
    int queueUpdateId = 1;

    bool isSatellite() const { return !bondedTo.isEmpty(); }
};

// A network extender: it joins the household and the zone group state lists it, alone in a
// group it leads as its one invisible member, but it plays nothing and is no room. Nothing
// answers at its address.
struct FakeExtender {
    QString uuid;
    QHostAddress address;
    QString name = QStringLiteral("BOOST");
};

struct FakeGroup {
    QString id;           // "RINCON_…:57"
    QString coordinator;
    QStringList members;  // rooms only (no satellites), coordinator first

    friend bool operator==(const FakeGroup&, const FakeGroup&) = default;
};

// A grouping command accepted by a speaker and carried out later.
struct GroupingChange {
    enum class Kind { Leave, Join, Delegate };
    Kind kind = Kind::Leave;
    QString speaker;
    QString target;          // Join: the coordinator joined; Delegate: the new coordinator
    bool rejoin = false;     // Delegate: the old coordinator stays in the group
    QString newGroupId;      // Leave: the identifier announced for the speaker's own group
    // Leave: a source to take once standing alone (a member told to play something else).
    std::optional<std::pair<QString, QString>> thenSetUri;
};

struct SoapFault {
    int code = 0;
    friend bool operator==(const SoapFault&, const SoapFault&) = default;
};
using SoapValues = QList<std::pair<QString, QString>>;
using SoapOutcome = std::expected<SoapValues, SoapFault>;

namespace upnp {
inline constexpr int invalidAction = 401;
inline constexpr int invalidArgs = 402;
inline constexpr int transitionNotAvailable = 701;
inline constexpr int noSuchObject = 701;
inline constexpr int seekModeNotSupported = 710;
inline constexpr int illegalSeekTarget = 711;
inline constexpr int invalidInstanceId = 718;
inline constexpr int variableNotFound = 800;
inline constexpr int notACoordinator = 1023;
} // namespace upnp

class FakeHouseholdModel {
public:
    // Browse answers at most this many queue entries at once, as the speakers do.
    static constexpr int maxBrowseCount = 100;

    // Adds a speaker standing alone in its own group. Missing serial and hardware addresses
    // are derived from the identifier.
    void addSpeaker(FakeSpeaker speaker);
    QStringList speakerIds() const;
    // Every speaker in the order of addition.
    const std::vector<FakeSpeaker>& speakers() const { return speakers_; }
    bool contains(const QString& uuid) const;
    const FakeSpeaker& speaker(const QString& uuid) const;
    FakeSpeaker& editSpeaker(const QString& uuid);
    std::optional<QString> speakerAt(const QHostAddress& address) const;

    // Groups in the order of their coordinators' addition.
    QList<FakeGroup> groups() const;
    FakeGroup groupOf(const QString& uuid) const;
    QString coordinatorOf(const QString& uuid) const;
    bool isCoordinator(const QString& uuid) const;
    // Makes `members` (coordinator first) one group at once; each leaves its old group.
    void setGroup(const QStringList& members);
    // Bonds `satellite` to `main` with `role`; the satellite stops being a room.
    void bond(const QString& main, const QString& satellite, SatelliteRole role);

    // The playback heard from this speaker: its coordinator's.
    const FakePlayback& playback(const QString& uuid) const;
    FakePlayback& editPlayback(const QString& uuid);
    void setQueue(const QString& uuid, QList<FakeTrack> tracks);
    // Tunes the speaker to one internet radio station, in `transportState` ("PLAYING", ...).
    void playRadioStation(const QString& uuid, const QString& transportState);
    // The room plays the sound of the television wired to it.
    void playTvAudio(const QString& uuid);
    // Every speaker hears every other: `strongest` for neighbours in the order of addition, less
    // by `fallOff` per step between them, never below 5.
    void spreadRadioReadings(int strongest, int fallOff);

    std::optional<QString> systemProperty(const QString& name) const;
    void setSystemProperty(const QString& name, const QString& value);
    const std::map<QString, QString>& systemProperties() const { return strings_; }

    const QList<FakeAccount>& accounts() const { return accounts_; }
    void setAccounts(QList<FakeAccount> accounts) { accounts_ = std::move(accounts); }

    // The zone group state lists the extender's group before every other (nullopt: no extender).
    void setExtender(std::optional<FakeExtender> extender) { extender_ = std::move(extender); }
    const std::optional<FakeExtender>& extender() const { return extender_; }

    // Older speakers answer the zone group state with <ZoneGroups> as the root.
    void setLegacyTopologyRoot(bool on) { legacyTopologyRoot_ = on; }
    bool legacyTopologyRoot() const { return legacyTopologyRoot_; }

    // --- what the speakers do when asked (SOAP actions) ---
    SoapOutcome transportInfo(const QString& uuid) const;
    SoapOutcome positionInfo(const QString& uuid) const;
    SoapOutcome mediaInfo(const QString& uuid) const;
    SoapOutcome volume(const QString& uuid) const;
    SoapOutcome setVolume(const QString& uuid, int volume);
    SoapOutcome groupVolume(const QString& uuid) const;
    SoapOutcome snapshotGroupVolume(const QString& uuid);
    SoapOutcome setGroupVolume(const QString& uuid, int volume);
    SoapOutcome play(const QString& uuid);
    SoapOutcome pause(const QString& uuid);
    SoapOutcome next(const QString& uuid);
    SoapOutcome previous(const QString& uuid);
    SoapOutcome seek(const QString& uuid, const QString& unit, const QString& target);
    SoapOutcome addToQueue(const QString& uuid, const QString& uri, const QString& metadata, int desiredFirst,
                           bool asNext);
    SoapOutcome browseQueue(const QString& uuid, const QString& objectId, const QString& flag, int start,
                            int count) const;
    SoapOutcome getString(const QString& name) const;
    SoapOutcome setString(const QString& name, const QString& value);
    // Sets a source right away, or answers the grouping change it asks for.
    std::expected<std::optional<GroupingChange>, SoapFault> setTransportUri(const QString& uuid, const QString& uri,
                                                                            const QString& metadata);
    std::expected<GroupingChange, SoapFault> leaveRequest(const QString& uuid);
    std::expected<GroupingChange, SoapFault> delegateRequest(const QString& uuid, const QString& newCoordinator,
                                                             bool rejoin);
    // Outputs of BecomeCoordinatorOfStandaloneGroup for an accepted change.
    SoapValues leaveReply(const GroupingChange& change) const;
    // Carries out an accepted change; one that no longer fits the household is dropped.
    bool apply(const GroupingChange& change);

private:
    FakeSpeaker* find(const QString& uuid);
    const FakeSpeaker* find(const QString& uuid) const;
    std::size_t groupIndexOf(const QString& uuid) const;
    QString freshGroupId(const QString& coordinator);
    void removeFromGroup(const QString& uuid);
    void standAlone(const QString& uuid, const QString& groupId);
    void takeOverPlayback(const QString& from, const QString& to);
    std::optional<SoapFault> requireCoordinator(const QString& uuid) const;

    std::vector<FakeSpeaker> speakers_;
    std::vector<FakeGroup> groups_;
    std::map<QString, QString> strings_;
    QList<FakeAccount> accounts_;
    std::optional<FakeExtender> extender_;
    bool legacyTopologyRoot_ = false;
    int nextGroupNumber_ = 31;
};

// "0:03:31"; hours are not padded.
QString formatTrackTime(int seconds);
// "H:MM:SS" with minutes and seconds below 60; nullopt for anything else.
std::optional<int> parseTrackTime(const QString& text);

} // namespace orvel::fakes
