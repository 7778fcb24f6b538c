#include "fakes/FakeHouseholdModel.h"

#include <QUrl>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "fakes/FakeDocuments.h"

namespace orvel::fakes {

namespace {

const QString kQueuePrefix = QStringLiteral("x-rincon-queue:");
const QString kGroupPrefix = QStringLiteral("x-rincon:");
const QString kPlaying = QStringLiteral("PLAYING");
const QString kPaused = QStringLiteral("PAUSED_PLAYBACK");
const QString kStopped = QStringLiteral("STOPPED");
const QString kTransitioning = QStringLiteral("TRANSITIONING");
const QString kNoMedia = QStringLiteral("NO_MEDIA_PRESENT");
const QString kNotImplemented = QStringLiteral("NOT_IMPLEMENTED");

std::unexpected<SoapFault> fault(int code) { return std::unexpected(SoapFault{code}); }

QString queueUri(const QString& uuid) { return kQueuePrefix + uuid + QStringLiteral("#0"); }

bool isLiveInput(const QString& uri) {
    return uri.startsWith(QStringLiteral("x-sonos-htastream:")) || uri.startsWith(QStringLiteral("x-rincon-stream:"));
}

bool isRadio(const QString& uri) {
    for (const char* prefix : {"x-sonosapi-stream:", "x-sonosapi-radio:", "x-rincon-mp3radio:", "aac:", "hls-radio:"})
        if (uri.startsWith(QLatin1String(prefix))) return true;
    return false;
}

// A fresh transport on the speaker's own (possibly empty) queue, as a speaker has after it
// leaves a group.
void resetToOwnQueue(FakeSpeaker& speaker) {
    FakePlayback& playback = speaker.playback;
    playback.currentUri = queueUri(speaker.uuid);
    playback.currentUriMetaData.clear();
    playback.transportState = kStopped;
    playback.trackNumber = playback.queue.isEmpty() ? 0 : 1;
    playback.relSeconds = 0;
    playback.streamContent.clear();
    playback.groupVolumeSnapshot.clear();
}

QString macFromUuid(const QString& uuid) {
    const QString hex = uuid.mid(7, 12);
    QStringList parts;
    for (int i = 0; i + 1 < hex.size(); i += 2) parts << hex.mid(i, 2);
    return parts.join(QLatin1Char(':'));
}

} // namespace

QString formatTrackTime(int seconds) {
    seconds = std::max(seconds, 0);
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

std::optional<int> parseTrackTime(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 3 || parts[0].isEmpty() || parts[0].size() > 4 || parts[1].size() != 2 || parts[2].size() != 2)
        return std::nullopt;
    int values[3] = {};
    for (int i = 0; i < 3; ++i) {
        for (QChar c : parts[i])
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
        values[i] = parts[i].toInt();
    }
    if (values[1] >= 60 || values[2] >= 60) return std::nullopt;
    return values[0] * 3600 + values[1] * 60 + values[2];
}

// --- set-up and queries ---

void FakeHouseholdModel::addSpeaker(FakeSpeaker speaker) {
    if (contains(speaker.uuid)) throw std::invalid_argument("speaker added twice: " + speaker.uuid.toStdString());
    if (speaker.macAddress.isEmpty()) speaker.macAddress = macFromUuid(speaker.uuid);
    if (speaker.serialNumber.isEmpty())
        speaker.serialNumber = QString(speaker.macAddress).replace(QLatin1Char(':'), QLatin1Char('-')) + QStringLiteral(":E");
    if (speaker.playback.currentUri.isEmpty() && speaker.playback.transportState == kNoMedia) resetToOwnQueue(speaker);
    const QString uuid = speaker.uuid;
    speakers_.push_back(std::move(speaker));
    groups_.push_back(FakeGroup{freshGroupId(uuid), uuid, {uuid}});
}

FakeTrack FakeTrack::spotify(const QString& spotifyId, const char* title, const char* artist, const char* album,
                             int seconds) {
    FakeTrack t;
    t.uri = QStringLiteral("x-sonos-spotify:spotify%3atrack%3a") + spotifyId + QStringLiteral("?sid=12&flags=8224&sn=2");
    t.title = QString::fromUtf8(title);
    t.creator = QString::fromUtf8(artist);
    t.album = QString::fromUtf8(album);
    t.albumArtUri = QStringLiteral("/getaa?s=1&u=") + QString::fromLatin1(QUrl::toPercentEncoding(t.uri));
    t.durationSeconds = seconds;
    return t;
}

QStringList FakeHouseholdModel::speakerIds() const {
    QStringList ids;
    for (const FakeSpeaker& speaker : speakers_) ids << speaker.uuid;
    return ids;
}

bool FakeHouseholdModel::contains(const QString& uuid) const { return find(uuid) != nullptr; }

FakeSpeaker* FakeHouseholdModel::find(const QString& uuid) {
    auto it = std::find_if(speakers_.begin(), speakers_.end(), [&](const FakeSpeaker& s) { return s.uuid == uuid; });
    return it == speakers_.end() ? nullptr : &*it;
}

const FakeSpeaker* FakeHouseholdModel::find(const QString& uuid) const {
    return const_cast<FakeHouseholdModel*>(this)->find(uuid);
}

const FakeSpeaker& FakeHouseholdModel::speaker(const QString& uuid) const {
    if (const FakeSpeaker* found = find(uuid)) return *found;
    throw std::out_of_range("no fake speaker " + uuid.toStdString());
}

FakeSpeaker& FakeHouseholdModel::editSpeaker(const QString& uuid) {
    return const_cast<FakeSpeaker&>(std::as_const(*this).speaker(uuid));
}

std::optional<QString> FakeHouseholdModel::speakerAt(const QHostAddress& address) const {
    for (const FakeSpeaker& speaker : speakers_)
        if (speaker.address.isEqual(address)) return speaker.uuid;
    return std::nullopt;
}

QList<FakeGroup> FakeHouseholdModel::groups() const {
    QList<FakeGroup> ordered;
    for (const FakeSpeaker& speaker : speakers_)
        for (const FakeGroup& group : groups_)
            if (group.coordinator == speaker.uuid) ordered << group;
    return ordered;
}

std::size_t FakeHouseholdModel::groupIndexOf(const QString& uuid) const {
    const FakeSpeaker& member = speaker(uuid);
    const QString& room = member.isSatellite() ? member.bondedTo : uuid;
    for (std::size_t i = 0; i < groups_.size(); ++i)
        if (groups_[i].members.contains(room)) return i;
    throw std::logic_error("speaker in no group: " + uuid.toStdString());
}

FakeGroup FakeHouseholdModel::groupOf(const QString& uuid) const { return groups_[groupIndexOf(uuid)]; }

QString FakeHouseholdModel::coordinatorOf(const QString& uuid) const { return groupOf(uuid).coordinator; }

bool FakeHouseholdModel::isCoordinator(const QString& uuid) const {
    return !speaker(uuid).isSatellite() && coordinatorOf(uuid) == uuid;
}

QString FakeHouseholdModel::freshGroupId(const QString& coordinator) {
    return coordinator + QLatin1Char(':') + QString::number(nextGroupNumber_++);
}

void FakeHouseholdModel::removeFromGroup(const QString& uuid) {
    const std::size_t index = groupIndexOf(uuid);
    FakeGroup& group = groups_[index];
    group.members.removeAll(uuid);
    if (group.members.isEmpty()) {
        groups_.erase(groups_.begin() + static_cast<std::ptrdiff_t>(index));
        return;
    }
    if (group.coordinator == uuid) {
        // The rest of the group carries on under its next member, playing what it played.
        const QString successor = group.members.front();
        group.coordinator = successor;
        group.id = freshGroupId(successor);
        takeOverPlayback(uuid, successor);
    }
}

void FakeHouseholdModel::standAlone(const QString& uuid, const QString& groupId) {
    groups_.push_back(FakeGroup{groupId.isEmpty() ? freshGroupId(uuid) : groupId, uuid, {uuid}});
}

void FakeHouseholdModel::takeOverPlayback(const QString& from, const QString& to) {
    FakePlayback moved = speaker(from).playback;
    if (moved.playsQueue()) moved.currentUri = queueUri(to);
    moved.groupVolumeSnapshot.clear();
    editSpeaker(to).playback = std::move(moved);
    editSpeaker(to).queueUpdateId++;
}

void FakeHouseholdModel::setGroup(const QStringList& members) {
    if (members.isEmpty()) return;
    for (const QString& uuid : members) {
        if (speaker(uuid).isSatellite()) throw std::invalid_argument("a satellite cannot be grouped: " + uuid.toStdString());
        removeFromGroup(uuid);
    }
    groups_.push_back(FakeGroup{freshGroupId(members.front()), members.front(), members});
}

void FakeHouseholdModel::bond(const QString& main, const QString& satellite, SatelliteRole role) {
    if (main == satellite || speaker(main).isSatellite())
        throw std::invalid_argument("cannot bond " + satellite.toStdString() + " to " + main.toStdString());
    removeFromGroup(satellite);
    FakeSpeaker& bonded = editSpeaker(satellite);
    bonded.bondedTo = main;
    bonded.role = role;
    bonded.roomName = speaker(main).roomName;
}

const FakePlayback& FakeHouseholdModel::playback(const QString& uuid) const { return speaker(coordinatorOf(uuid)).playback; }

FakePlayback& FakeHouseholdModel::editPlayback(const QString& uuid) { return editSpeaker(coordinatorOf(uuid)).playback; }

void FakeHouseholdModel::setQueue(const QString& uuid, QList<FakeTrack> tracks) {
    FakeSpeaker& owner = editSpeaker(uuid);
    owner.playback.queue = std::move(tracks);
    owner.queueUpdateId++;
    if (owner.playback.playsQueue())
        owner.playback.trackNumber = owner.playback.queue.isEmpty() ? 0 : std::clamp(owner.playback.trackNumber, 1, int(owner.playback.queue.size()));
}

std::optional<QString> FakeHouseholdModel::systemProperty(const QString& name) const {
    auto it = strings_.find(name);
    if (it == strings_.end()) return std::nullopt;
    return it->second;
}

void FakeHouseholdModel::setSystemProperty(const QString& name, const QString& value) { strings_[name] = value; }

// --- reads ---

SoapOutcome FakeHouseholdModel::transportInfo(const QString& uuid) const {
    return SoapValues{{QStringLiteral("CurrentTransportState"), playback(uuid).transportState},
                      {QStringLiteral("CurrentTransportStatus"), QStringLiteral("OK")},
                      {QStringLiteral("CurrentSpeed"), QStringLiteral("1")}};
}

SoapOutcome FakeHouseholdModel::positionInfo(const QString& uuid) const {
    const FakePlayback& playback = this->playback(uuid);
    QString track = QStringLiteral("0");
    QString duration = QStringLiteral("0:00:00");
    QString metadata;
    QString trackUri;
    QString relTime = QStringLiteral("0:00:00");
    if (playback.playsQueue()) {
        if (playback.trackNumber >= 1 && playback.trackNumber <= playback.queue.size()) {
            const FakeTrack& current = playback.queue[playback.trackNumber - 1];
            track = QString::number(playback.trackNumber);
            duration = formatTrackTime(current.durationSeconds);
            metadata = trackDidl(current);
            trackUri = current.uri;
            relTime = formatTrackTime(playback.relSeconds);
        }
    } else if (isLiveInput(playback.currentUri)) {
        track = QStringLiteral("1");
        duration = kNotImplemented;
        metadata = kNotImplemented;
        trackUri = playback.currentUri;
        relTime = kNotImplemented;
    } else if (isRadio(playback.currentUri)) {
        track = QStringLiteral("1");
        metadata = streamDidl(trackFromDidl(playback.currentUri, playback.currentUriMetaData).title, playback.streamContent);
        trackUri = playback.currentUri;
        relTime = formatTrackTime(playback.relSeconds);
    } else if (!playback.currentUri.isEmpty()) {
        const FakeTrack single = trackFromDidl(playback.currentUri, playback.currentUriMetaData);
        track = QStringLiteral("1");
        duration = formatTrackTime(single.durationSeconds);
        metadata = playback.currentUriMetaData.isEmpty() ? kNotImplemented : trackDidl(single);
        trackUri = playback.currentUri;
        relTime = formatTrackTime(playback.relSeconds);
    }
    return SoapValues{{QStringLiteral("Track"), track},
                      {QStringLiteral("TrackDuration"), duration},
                      {QStringLiteral("TrackMetaData"), metadata},
                      {QStringLiteral("TrackURI"), trackUri},
                      {QStringLiteral("RelTime"), relTime},
                      {QStringLiteral("AbsTime"), kNotImplemented},
                      {QStringLiteral("RelCount"), QStringLiteral("2147483647")},
                      {QStringLiteral("AbsCount"), QStringLiteral("2147483647")}};
}

SoapOutcome FakeHouseholdModel::mediaInfo(const QString& uuid) const {
    QString uri;
    QString uriMetaData;
    int tracks = 0;
    if (isCoordinator(uuid)) {
        const FakePlayback& own = speaker(uuid).playback;
        uri = own.currentUri;
        uriMetaData = own.currentUriMetaData;
        tracks = own.playsQueue() ? int(own.queue.size()) : (uri.isEmpty() ? 0 : 1);
    } else {
        // A member's transport follows its coordinator's.
        uri = kGroupPrefix + coordinatorOf(uuid);
    }
    return SoapValues{{QStringLiteral("NrTracks"), QString::number(tracks)},
                      {QStringLiteral("MediaDuration"), kNotImplemented},
                      {QStringLiteral("CurrentURI"), uri},
                      {QStringLiteral("CurrentURIMetaData"), uriMetaData},
                      {QStringLiteral("NextURI"), QString()},
                      {QStringLiteral("NextURIMetaData"), QString()},
                      {QStringLiteral("PlayMedium"), QStringLiteral("NETWORK")},
                      {QStringLiteral("RecordMedium"), kNotImplemented},
                      {QStringLiteral("WriteStatus"), kNotImplemented}};
}

SoapOutcome FakeHouseholdModel::volume(const QString& uuid) const {
    return SoapValues{{QStringLiteral("CurrentVolume"), QString::number(speaker(uuid).volume)}};
}

SoapOutcome FakeHouseholdModel::setVolume(const QString& uuid, int volume) {
    if (volume < 0 || volume > 100) return fault(upnp::invalidArgs);
    editSpeaker(uuid).volume = volume;
    return SoapValues{};
}

std::optional<SoapFault> FakeHouseholdModel::requireCoordinator(const QString& uuid) const {
    if (!isCoordinator(uuid)) return SoapFault{upnp::transitionNotAvailable};
    return std::nullopt;
}

SoapOutcome FakeHouseholdModel::groupVolume(const QString& uuid) const {
    if (auto refused = requireCoordinator(uuid)) return std::unexpected(*refused);
    const QStringList members = groupOf(uuid).members;
    double sum = 0;
    for (const QString& member : members) sum += speaker(member).volume;
    const int average = int(std::lround(sum / double(members.size())));
    return SoapValues{{QStringLiteral("CurrentVolume"), QString::number(average)}};
}

SoapOutcome FakeHouseholdModel::snapshotGroupVolume(const QString& uuid) {
    if (auto refused = requireCoordinator(uuid)) return std::unexpected(*refused);
    std::map<QString, int> snapshot;
    for (const QString& member : groupOf(uuid).members) snapshot[member] = speaker(member).volume;
    editSpeaker(uuid).playback.groupVolumeSnapshot = std::move(snapshot);
    return SoapValues{};
}

SoapOutcome FakeHouseholdModel::setGroupVolume(const QString& uuid, int volume) {
    if (auto refused = requireCoordinator(uuid)) return std::unexpected(*refused);
    if (volume < 0 || volume > 100) return fault(upnp::invalidArgs);
    const QStringList members = groupOf(uuid).members;
    const std::map<QString, int>& snapshot = speaker(uuid).playback.groupVolumeSnapshot;
    // Each member keeps its share of the group's loudness, measured at the last snapshot (or
    // now, when there is none or it no longer covers the group).
    std::map<QString, int> base;
    for (const QString& member : members) {
        auto it = snapshot.find(member);
        base[member] = it != snapshot.end() ? it->second : speaker(member).volume;
    }
    double sum = 0;
    for (const auto& entry : base) sum += entry.second;
    const double average = sum / double(base.size());
    for (const auto& [member, before] : base) {
        const double scaled = average <= 0 ? volume : before * volume / average;
        editSpeaker(member).volume = std::clamp(int(std::lround(scaled)), 0, 100);
    }
    return SoapValues{};
}

// --- transport commands ---

SoapOutcome FakeHouseholdModel::play(const QString& uuid) {
    if (auto refused = requireCoordinator(uuid)) return std::unexpected(*refused);
    FakePlayback& playback = editSpeaker(uuid).playback;
    if (playback.currentUri.isEmpty()) return fault(upnp::transitionNotAvailable);
    if (playback.playsQueue()) {
        if (playback.queue.isEmpty()) return fault(upnp::transitionNotAvailable);
        if (playback.trackNumber < 1) playback.trackNumber = 1;
    }
    playback.transportState = kPlaying;
    return SoapValues{};
}

SoapOutcome FakeHouseholdModel::pause(const QString& uuid) {
    if (auto refused = requireCoordinator(uuid)) return std::unexpected(*refused);
    FakePlayback& playback = editSpeaker(uuid).playback;
    if (isLiveInput(playback.currentUri)) return fault(upnp::transitionNotAvailable);
    if (playback.transportState == kPlaying || playback.transportState == kTransitioning) {
        playback.transportState = kPaused;
        return SoapValues{};
    }
    if (playback.transportState == kPaused) return SoapValues{};
    return fault(upnp::transitionNotAvailable);
}

SoapOutcome FakeHouseholdModel::next(const QString& uuid) {
    if (auto refused = requireCoordinator(uuid)) return std::unexpected(*refused);
    FakePlayback& playback = editSpeaker(uuid).playback;
    if (!playback.playsQueue() || playback.queue.isEmpty()) return fault(upnp::transitionNotAvailable);
    if (playback.trackNumber >= playback.queue.size()) return fault(upnp::illegalSeekTarget);
    playback.trackNumber++;
    playback.relSeconds = 0;
    return SoapValues{};
}

SoapOutcome FakeHouseholdModel::previous(const QString& uuid) {
    if (auto refused = requireCoordinator(uuid)) return std::unexpected(*refused);
    FakePlayback& playback = editSpeaker(uuid).playback;
    if (!playback.playsQueue() || playback.queue.isEmpty()) return fault(upnp::transitionNotAvailable);
    if (playback.trackNumber <= 1) return fault(upnp::illegalSeekTarget);
    playback.trackNumber--;
    playback.relSeconds = 0;
    return SoapValues{};
}

SoapOutcome FakeHouseholdModel::seek(const QString& uuid, const QString& unit, const QString& target) {
    if (auto refused = requireCoordinator(uuid)) return std::unexpected(*refused);
    FakePlayback& playback = editSpeaker(uuid).playback;
    if (unit == QStringLiteral("TRACK_NR")) {
        bool ok = false;
        const int number = target.toInt(&ok);
        if (!ok || target.startsWith(QLatin1Char('+'))) return fault(upnp::invalidArgs);
        if (!playback.playsQueue()) return fault(upnp::transitionNotAvailable);
        if (number < 1 || number > playback.queue.size()) return fault(upnp::illegalSeekTarget);
        playback.trackNumber = number;
        playback.relSeconds = 0;
        return SoapValues{};
    }
    if (unit == QStringLiteral("REL_TIME")) {
        const std::optional<int> seconds = parseTrackTime(target);
        if (!seconds) return fault(upnp::invalidArgs);
        if (!playback.playsQueue() || playback.trackNumber < 1 || playback.trackNumber > playback.queue.size())
            return fault(upnp::transitionNotAvailable);
        if (*seconds > playback.queue[playback.trackNumber - 1].durationSeconds) return fault(upnp::illegalSeekTarget);
        playback.relSeconds = *seconds;
        return SoapValues{};
    }
    return fault(upnp::seekModeNotSupported);
}

SoapOutcome FakeHouseholdModel::addToQueue(const QString& uuid, const QString& uri, const QString& metadata,
                                           int desiredFirst, bool asNext) {
    if (uri.isEmpty() || desiredFirst < 0) return fault(upnp::invalidArgs);
    FakeSpeaker& owner = editSpeaker(uuid);
    FakePlayback& playback = owner.playback;
    const int size = int(playback.queue.size());
    int position = size + 1;
    if (desiredFirst >= 1 && desiredFirst <= size + 1) position = desiredFirst;
    else if (desiredFirst == 0 && asNext && playback.playsQueue() && playback.trackNumber >= 1)
        position = std::min(playback.trackNumber + 1, size + 1);
    playback.queue.insert(position - 1, trackFromDidl(uri, metadata));
    if (playback.playsQueue() && playback.trackNumber >= position) playback.trackNumber++;
    owner.queueUpdateId++;
    return SoapValues{{QStringLiteral("FirstTrackNumberEnqueued"), QString::number(position)},
                      {QStringLiteral("NumTracksAdded"), QStringLiteral("1")},
                      {QStringLiteral("NewQueueLength"), QString::number(playback.queue.size())}};
}

SoapOutcome FakeHouseholdModel::browseQueue(const QString& uuid, const QString& objectId, const QString& flag,
                                            int start, int count) const {
    if (objectId != QStringLiteral("Q:0")) return fault(upnp::noSuchObject);
    if (flag != QStringLiteral("BrowseDirectChildren") || start < 0 || count < 0) return fault(upnp::invalidArgs);
    const FakeSpeaker& owner = speaker(uuid);
    const QList<FakeTrack>& queue = owner.playback.queue;
    const int limit = count == 0 ? maxBrowseCount : std::min(count, maxBrowseCount);
    const QList<FakeTrack> page = start >= queue.size() ? QList<FakeTrack>() : queue.mid(start, limit);
    return SoapValues{{QStringLiteral("Result"), queueDidl(page, start + 1)},
                      {QStringLiteral("NumberReturned"), QString::number(page.size())},
                      {QStringLiteral("TotalMatches"), QString::number(queue.size())},
                      {QStringLiteral("UpdateID"), QString::number(owner.queueUpdateId)}};
}

SoapOutcome FakeHouseholdModel::getString(const QString& name) const {
    const std::optional<QString> value = systemProperty(name);
    if (!value) return fault(upnp::variableNotFound);
    return SoapValues{{QStringLiteral("StringValue"), *value}};
}

SoapOutcome FakeHouseholdModel::setString(const QString& name, const QString& value) {
    if (name.isEmpty()) return fault(upnp::invalidArgs);
    strings_[name] = value;
    return SoapValues{};
}

// --- grouping ---

std::expected<std::optional<GroupingChange>, SoapFault> FakeHouseholdModel::setTransportUri(
    const QString& uuid, const QString& uri, const QString& metadata) {
    if (speaker(uuid).isSatellite()) return fault(upnp::transitionNotAvailable);
    if (uri.startsWith(kGroupPrefix)) {
        const QString target = uri.mid(kGroupPrefix.size());
        if (target == uuid || !contains(target)) return fault(upnp::invalidArgs);
        if (!isCoordinator(target)) return fault(upnp::notACoordinator);
        return std::optional<GroupingChange>(GroupingChange{GroupingChange::Kind::Join, uuid, target, false, {}, {}});
    }
    if (uri.startsWith(kQueuePrefix) && uri != queueUri(uuid)) return fault(upnp::invalidArgs);
    if (!isCoordinator(uuid)) {
        // A member told to play something else leaves its group first.
        GroupingChange change{GroupingChange::Kind::Leave, uuid, {}, false, freshGroupId(uuid), std::pair(uri, metadata)};
        return std::optional<GroupingChange>(std::move(change));
    }
    FakePlayback& playback = editSpeaker(uuid).playback;
    playback.currentUri = uri;
    playback.currentUriMetaData = metadata;
    playback.transportState = uri.isEmpty() ? kNoMedia : kStopped;
    playback.relSeconds = 0;
    playback.streamContent.clear();
    playback.trackNumber = playback.playsQueue() ? (playback.queue.isEmpty() ? 0 : 1) : (uri.isEmpty() ? 0 : 1);
    return std::optional<GroupingChange>();
}

std::expected<GroupingChange, SoapFault> FakeHouseholdModel::leaveRequest(const QString& uuid) {
    if (speaker(uuid).isSatellite()) return fault(upnp::transitionNotAvailable);
    const FakeGroup group = groupOf(uuid);
    return GroupingChange{GroupingChange::Kind::Leave, uuid, {}, false,
                          group.members.size() == 1 ? group.id : freshGroupId(uuid), {}};
}

SoapValues FakeHouseholdModel::leaveReply(const GroupingChange& change) const {
    const FakeGroup group = groupOf(change.speaker);
    QString delegated;
    if (group.coordinator == change.speaker && group.members.size() > 1) delegated = group.members[1];
    return SoapValues{{QStringLiteral("DelegatedGroupCoordinatorID"), delegated},
                      {QStringLiteral("NewGroupID"), change.newGroupId}};
}

std::expected<GroupingChange, SoapFault> FakeHouseholdModel::delegateRequest(const QString& uuid,
                                                                             const QString& newCoordinator, bool rejoin) {
    if (auto refused = requireCoordinator(uuid)) return std::unexpected(*refused);
    if (newCoordinator == uuid || !groupOf(uuid).members.contains(newCoordinator)) return fault(upnp::invalidArgs);
    return GroupingChange{GroupingChange::Kind::Delegate, uuid, newCoordinator, rejoin, {}, {}};
}

bool FakeHouseholdModel::apply(const GroupingChange& change) {
    if (!contains(change.speaker) || speaker(change.speaker).isSatellite()) return false;
    switch (change.kind) {
    case GroupingChange::Kind::Leave: {
        const FakeGroup group = groupOf(change.speaker);
        if (group.members.size() > 1) {
            removeFromGroup(change.speaker);
            standAlone(change.speaker, change.newGroupId);
            resetToOwnQueue(editSpeaker(change.speaker));
        }
        if (change.thenSetUri) {
            const auto& [uri, metadata] = *change.thenSetUri;
            if (!setTransportUri(change.speaker, uri, metadata)) return false;
        }
        return true;
    }
    case GroupingChange::Kind::Join: {
        if (!contains(change.target) || !isCoordinator(change.target)) return false;
        if (coordinatorOf(change.speaker) == change.target) return true;
        removeFromGroup(change.speaker);
        groups_[groupIndexOf(change.target)].members.append(change.speaker);
        return true;
    }
    case GroupingChange::Kind::Delegate: {
        if (!isCoordinator(change.speaker) || !groupOf(change.speaker).members.contains(change.target)) return false;
        FakeGroup& group = groups_[groupIndexOf(change.speaker)];
        QStringList members = group.members;
        members.removeAll(change.target);
        members.prepend(change.target);
        if (!change.rejoin) members.removeAll(change.speaker);
        group.coordinator = change.target;
        group.members = members;
        group.id = freshGroupId(change.target);
        takeOverPlayback(change.speaker, change.target);
        if (!change.rejoin) {
            standAlone(change.speaker, {});
            resetToOwnQueue(editSpeaker(change.speaker));
        }
        return true;
    }
    }
    return false;
}

void FakeHouseholdModel::playRadioStation(const QString& uuid, const QString& transportState) {
    FakePlayback& radio = editSpeaker(uuid).playback;
    radio.currentUri = QStringLiteral("x-sonosapi-stream:s24940?sid=254&flags=8224&sn=0");
    radio.currentUriMetaData = streamDidl(QStringLiteral("Radio Paradise"), {});
    radio.streamContent = QStringLiteral("Harbour Lights - Low Tide");
    radio.transportState = transportState;
    radio.trackNumber = 1;
}

void FakeHouseholdModel::playTvAudio(const QString& uuid) {
    FakePlayback& tv = editSpeaker(uuid).playback;
    tv.currentUri = QStringLiteral("x-sonos-htastream:") + uuid + QStringLiteral(":spdif");
    tv.currentUriMetaData.clear();
    tv.streamContent.clear();
    tv.transportState = QStringLiteral("PLAYING");
    tv.trackNumber = 1;
}

void FakeHouseholdModel::spreadRadioReadings(int strongest, int fallOff) {
    const QStringList ids = speakerIds();
    for (qsizetype i = 0; i < ids.size(); ++i) {
        FakeSpeaker& speaker = editSpeaker(ids[i]);
        speaker.noiseFloor = -95;
        speaker.radio.clear();
        for (qsizetype j = 0; j < ids.size(); ++j) {
            if (j == i) continue;
            const qsizetype strength = std::max<qsizetype>(5, strongest - fallOff * std::abs(i - j));
            speaker.radio.append({ids[j], int(strength)});
        }
    }
}

} // namespace orvel::fakes
